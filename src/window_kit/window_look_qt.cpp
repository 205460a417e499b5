// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_kit/window_look_qt.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace zelvorn {

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

QIcon ZelvornIcon() {
    static const QIcon icon = [] {
        QIcon drawn;
        drawn.addPixmap(DrawIcon(32));
        drawn.addPixmap(DrawIcon(64));
        return drawn;
    }();
    return icon;
}

namespace {

// Liberation Sans has the narrow metrics of the classic dialog fonts;
// DejaVu Sans stands in where it is missing.
QFont ClassicFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(8.0);
    return font;
}

double LogicalDpiOf(const QWidget* widget) {
    const QScreen* screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

}  // namespace

QRect TwipsRectOn(const QWidget* widget, const TwipsRect& rect) {
    const PixelRect px = TwipsToPixels(rect, LogicalDpiOf(widget));
    return QRect(px.x, px.y, px.width, px.height);
}

void MakeFixedClassicWindow(QWidget* window, const WindowLayout& layout) {
    window->setWindowTitle(ToQString(layout.caption));
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(
        TwipsRectOn(window, {0, 0, layout.clientWidth, layout.clientHeight}).size());
    window->setWindowIcon(ZelvornIcon());
    window->setFont(ClassicFont());
}

void PlaceControls(std::initializer_list<PlacedControl> controls) {
    std::vector<const PlacedControl*> focusable;
    for (const PlacedControl& control : controls) {
        const ControlLayout& layout = control.layout;
        control.widget->setObjectName(
            QLatin1String(layout.name.data(), static_cast<qsizetype>(layout.name.size())));
        control.widget->setGeometry(TwipsRectOn(control.widget, layout.rect));
        if (!layout.toolTip.empty()) control.widget->setToolTip(ToQString(layout.toolTip));
        if (layout.kind != ControlKind::Frame && layout.kind != ControlKind::Label) {
            focusable.push_back(&control);
        }
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const PlacedControl* a, const PlacedControl* b) {
                  return a->layout.tabIndex < b->layout.tabIndex;
              });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1]->widget, focusable[i]->widget);
    }
}

void NameForScreenReaders(const QWidget* window, std::span<const AccessibleName> names) {
    for (const AccessibleName& named : names) {
        const QString objectName =
            QLatin1String(named.control.data(), static_cast<qsizetype>(named.control.size()));
        if (auto* control = window->findChild<QWidget*>(objectName)) {
            control->setAccessibleName(ToQString(named.name));
        }
    }
}

namespace {

// Swallows Alt+key presses that no shortcut took. AltGr, which types
// characters on many keyboards, does not report Alt; Ctrl+Alt stands for it
// where it does.
class AccessKeyGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto modifiers = static_cast<QKeyEvent*>(event)->modifiers();
            if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier)) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void KeepAccessKeysFromTyping(QWidget* widget) {
    widget->installEventFilter(new AccessKeyGuard(widget));
}

}  // namespace zelvorn
