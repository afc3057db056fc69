#include "Pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <memory>

// The drawings are the resources: Qt Svg draws them at any size. Icons are
// drawn by an engine of our own on Qt Svg's renderer rather than by Qt's
// SVG icon engine plugin, which some systems package apart (Debian 13:
// qt6-svg-plugins) and a user may not have: without it every icon would be
// empty.
namespace Pictures {
namespace {

QImage Render(QSvgRenderer& renderer, QSize pixels)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

class SvgIconEngine final : public QIconEngine {
public:
    explicit SvgIconEngine(const QString& file)
        : renderer_(std::make_shared<QSvgRenderer>(file))
    {
    }

    QIconEngine* clone() const override { return new SvgIconEngine(*this); }
    QString key() const override { return QStringLiteral("TamarinSvgIconEngine"); }
    bool isNull() override { return !renderer_->isValid(); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        if (!renderer_->isValid() || size.isEmpty())
            return QPixmap();
        QPixmap pixmap = QPixmap::fromImage(Render(*renderer_, size * scale));
        // Disabled and selected looks are the style's, as for any icon.
        if (mode != QIcon::Normal && qApp) {
            QStyleOption option;
            option.palette = QApplication::palette();
            const QPixmap styled = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
            if (!styled.isNull())
                pixmap = styled;
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

private:
    SvgIconEngine(const SvgIconEngine&) = default;

    // Parsed once, shared by the copies Qt makes of an icon.
    std::shared_ptr<QSvgRenderer> renderer_;
};

} // namespace

QIcon Icon(const QString& path)
{
    return QIcon(new SvgIconEngine(path + QStringLiteral(".svg")));
}

QPixmap Pixmap(const QString& path, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(path + QStringLiteral(".svg"));
    if (!renderer.isValid())
        return QPixmap();
    QPixmap pixmap = QPixmap::fromImage(Render(renderer, size * devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace Pictures
