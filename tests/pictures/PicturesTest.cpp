// The pictures as the windows ask for them, at the screen scales Windows
// offers (100 to 200 %): present, of the size asked for at every scale, drawn
// (not blank), and, from the PNG renders, taken unscaled where a render of
// that scale exists.
#include "Pictures.h"

#include <QGuiApplication>
#include <QFile>
#include <QImage>
#include <QTest>

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void pixmapAtEveryScale_data();
    void pixmapAtEveryScale();
    void iconOffersEveryScale_data();
    void iconOffersEveryScale();
    void missingPictureIsNull();
};

namespace {

bool HasOpaquePixels(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

void PicturesTest::pixmapAtEveryScale_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio");
    const struct { const char* path; QSize size; } pictures[] = {
        {":/app/resources/toolbar/new", {24, 24}},
        {":/app/resources/buttons/search", {16, 16}},
        {":/dialogs/resources/about", {153, 233}},
        {":/dialogs/resources/credit-strip", {17, 217}},
    };
    for (const auto& picture : pictures)
        for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0})
            QTest::addRow("%s@%g", picture.path, ratio)
                << QString::fromLatin1(picture.path) << picture.size << ratio;
}

void PicturesTest::pixmapAtEveryScale()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    const QPixmap pixmap = Pictures::Pixmap(path, size, ratio);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), size * ratio);
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QVERIFY(HasOpaquePixels(pixmap.toImage()));
#ifdef PICTURES_AS_RENDERS
    // 100, 150 and 200 % have renders of their own: shown as rendered.
    const QString render = QStringLiteral("%1-%2.png").arg(path).arg(pixmap.width());
    if (QFile::exists(render)) {
        QImage rendered = QImage(render).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        rendered.setDevicePixelRatio(ratio);
        QCOMPARE(pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), rendered);
    }
    else
        QVERIFY2(ratio != 1.0 && ratio != 1.5 && ratio != 2.0, qPrintable(render + " missing"));
#endif
}

void PicturesTest::iconOffersEveryScale_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QList<int>>("widths");
    QTest::addRow("tool bar") << QStringLiteral(":/app/resources/toolbar/new") << QList<int>{24, 36, 48};
    QTest::addRow("button") << QStringLiteral(":/app/resources/buttons/search") << QList<int>{16, 24, 32};
    QTest::addRow("window icon") << QStringLiteral(":/app/resources/icons/tamarin")
                                 << QList<int>{16, 32, 256};
}

void PicturesTest::iconOffersEveryScale()
{
    QFETCH(QString, path);
    QFETCH(QList<int>, widths);
    const QIcon icon = Pictures::Icon(path);
    QVERIFY(!icon.isNull());
    for (int width : widths) {
        const QPixmap pixmap = icon.pixmap(QSize(width, width));
        QCOMPARE(pixmap.width() * pixmap.devicePixelRatio(), qreal(width));
        QVERIFY(HasOpaquePixels(pixmap.toImage()));
#ifdef PICTURES_AS_RENDERS
        QVERIFY2(icon.availableSizes().contains(QSize(width, width)),
                 qPrintable(QStringLiteral("no %1 px render").arg(width)));
#endif
    }
}

void PicturesTest::missingPictureIsNull()
{
    QVERIFY(Pictures::Pixmap(QStringLiteral(":/app/resources/toolbar/nothing"), {24, 24}, 1.0).isNull());
    QVERIFY(Pictures::Icon(QStringLiteral(":/app/resources/toolbar/nothing")).pixmap(24, 24).isNull());
    // A name that only begins another picture's name is not that picture.
    QVERIFY(Pictures::Pixmap(QStringLiteral(":/app/resources/toolbar/ne"), {24, 24}, 1.0).isNull());
}

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
