// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_kit/text_win32.h"

#include <climits>

namespace zelvorn {

std::u16string WindowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)), u'\0');
    if (text.empty()) return text;
    // The length may overstate (it can count a double-byte conversion twice).
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()),
                                      static_cast<int>(text.size()) + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace zelvorn
