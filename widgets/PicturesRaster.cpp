#include "Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

// The resources hold each drawing rendered at build time as
// "<name>-<width in pixels>.png", at 1, 1.5 and 2 times its size (the
// window icon at the sizes the desktop asks for).
namespace Pictures {

namespace {

QStringList RenderedFiles(const QString& path)
{
    const QFileInfo picture(path);
    const QDir folder = picture.dir();
    const QRegularExpression rendered(
        QStringLiteral("^%1-[0-9]+\\.png$").arg(QRegularExpression::escape(picture.fileName())));
    QStringList files;
    for (const QString& entry : folder.entryList(QDir::Files))
        if (rendered.match(entry).hasMatch())
            files << folder.filePath(entry);
    return files;
}

} // namespace

QIcon Icon(const QString& path)
{
    QIcon icon;
    for (const QString& file : RenderedFiles(path))
        icon.addFile(file);  // its size read from the file
    return icon;
}

QPixmap Pixmap(const QString& path, QSize size, qreal devicePixelRatio)
{
    const QSize wanted = size * devicePixelRatio;
    // The smallest render at least as wide as wanted, else the widest: a
    // render scaled down stays sharp, one scaled up blurs.
    QPixmap best;
    for (const QString& file : RenderedFiles(path)) {
        const QPixmap render(file);
        const bool wideEnough = render.width() >= wanted.width();
        const bool bestWideEnough = !best.isNull() && best.width() >= wanted.width();
        if (best.isNull() || (wideEnough && (!bestWideEnough || render.width() < best.width()))
            || (!wideEnough && !bestWideEnough && render.width() > best.width()))
            best = render;
    }
    if (best.isNull())
        return best;
    QPixmap pixmap = best.size() == wanted
        ? best
        : best.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace Pictures
