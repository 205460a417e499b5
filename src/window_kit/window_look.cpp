#include "window_look.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    // The disc: a silver ring with a blue sheen and a hole in the middle.
    QRadialGradient sheen(QPointF(13, 13), 16);
    sheen.setColorAt(0.0, QColor(0xf4, 0xf7, 0xfb));
    sheen.setColorAt(0.6, QColor(0xb9, 0xc8, 0xdc));
    sheen.setColorAt(1.0, QColor(0x6f, 0x86, 0xa6));
    QPainterPath disc;
    disc.addEllipse(QPointF(14, 14), 12.5, 12.5);
    disc.addEllipse(QPointF(14, 14), 3, 3);
    painter.setPen(QPen(QColor(0x3a, 0x4a, 0x63), 1));
    painter.setBrush(sheen);
    painter.drawPath(disc);

    // The arrow: files coming out of the image, down and to the right.
    QPainterPath arrow;
    arrow.moveTo(17, 19);
    arrow.lineTo(24, 19);
    arrow.lineTo(24, 15);
    arrow.lineTo(31, 23);
    arrow.lineTo(24, 31);
    arrow.lineTo(24, 27);
    arrow.lineTo(17, 27);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x1d, 0x5e, 0x20), 1));
    painter.setBrush(QColor(0x3c, 0xb0, 0x43));
    painter.drawPath(arrow);
    return pixmap;
}

}  // namespace

QIcon ZelvornIcon() {
    static const QIcon icon = [] {
        QIcon drawn;
        drawn.addPixmap(DrawIcon(32));
        drawn.addPixmap(DrawIcon(64));
        return drawn;
    }();
    return icon;
}

QFont ClassicFont() {
    // Liberation Sans has the narrow metrics of the classic dialog fonts;
    // DejaVu Sans stands in where it is missing.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(8.0);
    return font;
}

void MakeFixedClassicWindow(QWidget* window, QSize clientSize) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(clientSize);
    window->setWindowIcon(ZelvornIcon());
    window->setFont(ClassicFont());
}
