// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "window_kit/layout_schema.h"

class QWidget;

namespace zelvorn {

// Texts cross between the core and Qt here: both are UTF-16.
inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

// The program's window icon, drawn at 32 by 32 pixels (and larger for
// high-DPI screens): a disc with an arrow coming out of it.
QIcon ZelvornIcon();
// The same drawing at `size` pixels square, for the icon files.
QPixmap DrawIcon(int size);

// Gives `window` the caption, fixed client size, icon and font of `layout`, and
// asks the window system for no maximise or minimise button.
void MakeFixedClassicWindow(QWidget* window, const WindowLayout& layout);

// A window's control and the line of its layout table.
struct PlacedControl {
    QWidget* widget;
    const ControlLayout& layout;
};

// Names each control after its line of the layout table, places it by its twips rectangle at the
// screen's logical DPI, gives it the tool tip, and chains the keyboard order
// by tab index; frames and labels take no focus.
void PlaceControls(std::initializer_list<PlacedControl> controls);

// Gives the controls of `window` named in `names` their name for screen
// readers; their captions stay as they are.
void NameForScreenReaders(const QWidget* window, std::span<const AccessibleName> names);

// Makes Alt with a letter in `widget` either an access key or nothing: a line
// edit or list would otherwise take the letter as typed text when the
// access key's control is disabled.
void KeepAccessKeysFromTyping(QWidget* widget);

// A twips rectangle in pixels on the screen `widget` is on.
QRect TwipsRectOn(const QWidget* widget, const TwipsRect& rect);

}  // namespace zelvorn
