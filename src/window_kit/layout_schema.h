// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <string_view>

namespace zelvorn {

// A rectangle in the classic layout unit: 1440 twips to the inch, 15 to a
// pixel at 96 dots per inch. Left and top are relative to the container.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

// A rectangle in device-independent pixels.
struct PixelRect {
    int x;
    int y;
    int width;
    int height;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A length in twips as pixels at `dotsPerInch`, rounded to the nearest.
inline int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}
inline PixelRect TwipsToPixels(const TwipsRect& rect, double dotsPerInch) {
    return {TwipsToPixels(rect.left, dotsPerInch), TwipsToPixels(rect.top, dotsPerInch),
            TwipsToPixels(rect.width, dotsPerInch), TwipsToPixels(rect.height, dotsPerInch)};
}

// The kinds of control the two windows are made of. A note is read-only
// text that the user can select and copy.
enum class ControlKind { Button, CheckBox, TextField, Frame, List, Label, Note };

// One control of a window as its layout table gives it. Both skins build
// their windows from these tables, so both look alike and keep the names.
struct ControlLayout {
    std::string_view name;  // the control's name in code and its object name
    ControlKind kind;
    std::u16string_view caption;  // "&" marks the access key
    TwipsRect rect;               // relative to `container`
    std::string_view container;   // the frame it lies in; empty for the window
    int tabIndex;                 // keyboard order; frames and labels take no focus
    std::u16string_view toolTip;
};

// What a screen reader calls a control whose caption alone does not say what
// it is: a field named by the frame around it, a list by its heading, two
// buttons that read alike. The caption on screen stays as it is.
struct AccessibleName {
    std::string_view control;  // the control's name in its layout table
    std::u16string_view name;
};

// A fixed-size window: its caption and client area in twips.
struct WindowLayout {
    std::u16string_view caption;
    int clientWidth;
    int clientHeight;
};

}  // namespace zelvorn
