#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

Twips Twips::ForScreenOf(const QWidget* widget) {
    const QScreen* screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return Twips(screen ? screen->logicalDotsPerInch() : 96.0);
}

int Twips::px(int twips) const {
    return static_cast<int>(std::lround(twips * m_pixelsPerTwip));
}

QRect Twips::rect(int left, int top, int width, int height) const {
    return QRect(px(left), px(top), px(width), px(height));
}
