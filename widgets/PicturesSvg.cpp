#include "Pictures.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The drawings are the resources: Qt Svg draws them at any size.
namespace Pictures {

QIcon Icon(const QString& path)
{
    return QIcon(path + QStringLiteral(".svg"));
}

QPixmap Pixmap(const QString& path, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(path + QStringLiteral(".svg"));
    if (!renderer.isValid())
        return QPixmap();
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace Pictures
