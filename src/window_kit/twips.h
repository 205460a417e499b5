#pragma once

#include <QRect>

class QWidget;

// Converts the classic layout unit (1440 twips to the inch) to pixels at a
// given logical DPI: 15 twips a pixel at 96 DPI.
class Twips {
public:
    explicit Twips(double logicalDpi = 96.0) : m_pixelsPerTwip(logicalDpi / 1440.0) {}

    // The scale of the screen `widget` is on (or the primary screen).
    static Twips ForScreenOf(const QWidget* widget);

    // A length in pixels, rounded.
    int px(int twips) const;
    // A rectangle given as left, top, width, height in twips.
    QRect rect(int left, int top, int width, int height) const;

private:
    double m_pixelsPerTwip;
};
