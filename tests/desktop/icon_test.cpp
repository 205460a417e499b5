#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

#include "window_kit/window_look_qt.h"

// The icon theme's two files against the window icon the program draws: the
// PNG is that drawing, and the SVG must look the same at every size.
class IconTest : public QObject {
    Q_OBJECT
private slots:
    void pngIsTheWindowIcon();
    void svgLooksLikeTheWindowIcon_data();
    void svgLooksLikeTheWindowIcon();
};

namespace {

QImage Drawn(int size) {
    return zelvorn::ZelvornIcon()
        .pixmap(QSize(size, size), 1.0)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

// The largest difference of any channel, premultiplied so that the colour of
// nearly transparent pixels does not count.
int Difference(QRgb a, QRgb b) {
    const QRgb pa = qPremultiply(a);
    const QRgb pb = qPremultiply(b);
    return std::max({std::abs(qRed(pa) - qRed(pb)), std::abs(qGreen(pa) - qGreen(pb)),
                     std::abs(qBlue(pa) - qBlue(pb)), std::abs(qAlpha(pa) - qAlpha(pb))});
}

}  // namespace

void IconTest::pngIsTheWindowIcon() {
    QImage png(ZELVORN_ICON_PNG);
    QVERIFY2(!png.isNull(), ZELVORN_ICON_PNG);
    QCOMPARE(png.size(), QSize(32, 32));
    QCOMPARE(png.convertToFormat(QImage::Format_ARGB32), Drawn(32));
}

void IconTest::svgLooksLikeTheWindowIcon_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("32 px") << 32;
    QTest::newRow("64 px") << 64;
}

void IconTest::svgLooksLikeTheWindowIcon() {
    QFETCH(int, size);
    QSvgRenderer svg(QStringLiteral(ZELVORN_ICON_SVG));
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBoxF(), QRectF(0, 0, 32, 32));
    QImage rendered(size, size, QImage::Format_ARGB32);
    rendered.fill(Qt::transparent);
    {
        QPainter painter(&rendered);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    const QImage drawn = Drawn(size);

    // Two renderers of the same shapes differ by a little anti-aliasing at
    // the edges; a changed colour or a moved shape differs by far more.
    int worst = 0;
    qint64 total = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int difference = Difference(rendered.pixel(x, y), drawn.pixel(x, y));
            worst = std::max(worst, difference);
            total += difference;
        }
    }
    const double mean = double(total) / (size * size);
    QVERIFY2(mean < 0.5, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    QVERIFY2(worst < 24, qPrintable(QStringLiteral("worst pixel differs by %1").arg(worst)));
}

QTEST_MAIN(IconTest)
#include "icon_test.moc"
