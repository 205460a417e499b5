// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_kit/caption_controls_qt.h"

#include <qdrawutil.h>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zelvorn {

namespace {

int MnemonicFlag(const QStyle* style, const QStyleOption& option, const QWidget* widget) {
    return style->styleHint(QStyle::SH_UnderlineShortcut, &option, widget) ? Qt::TextShowMnemonic
                                                                           : Qt::TextHideMnemonic;
}

}  // namespace

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    // A plain window has no default or cancel button.
    setAutoDefault(false);
    setDefault(false);
}

QRect CaptionButton::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect textRect = captionRect();
    if (isDown()) {
        textRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | MnemonicFlag(style(), option, this);
    painter.drawItemText(textRect, flags, palette(), isEnabled(), caption, QPalette::ButtonText);
}

CaptionCheckBox::CaptionCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {}

QRect CaptionCheckBox::captionRect() const {
    // The caption starts just right of the box, as in a classic dialog; the
    // style's own spacing would leave too little room to wrap into.
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    return rect().adjusted(indicator.right() + 4, 0, 0, 0);
}

void CaptionCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.state &= ~QStyle::State_HasFocus;  // the focus frame goes round the caption below
    painter.drawControl(QStyle::CE_CheckBox, option);

    const QRect contents = captionRect();
    const int flags =
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | MnemonicFlag(style(), option, this);
    painter.drawItemText(contents, flags, palette(), isEnabled(), caption, QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect =
            painter.fontMetrics().boundingRect(contents, flags, caption).adjusted(-1, 0, 1, 0) &
            rect();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CaptionCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void CaptionFrame::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // An etched line from the middle of the caption down; styles differ too
    // much in where they put a group box's frame to use theirs.
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1, 0);

    // The caption interrupts the top line on a patch of the window's colour.
    const int indent = metrics.averageCharWidth();
    const QRect captionRect(indent, 0, metrics.horizontalAdvance(title()) + indent,
                            metrics.height());
    painter.fillRect(captionRect, palette().window());
    painter.drawItemText(captionRect, Qt::AlignCenter | Qt::TextHideMnemonic, palette(),
                         isEnabled(), title(), QPalette::WindowText);
}

}  // namespace zelvorn
