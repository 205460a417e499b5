// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/windows_text.h"

#include <windows.h>

#include <climits>

namespace base {

std::string ToAnsi(std::u16string_view text) {
    if (text.empty() || text.size() > INT_MAX / 2) return {};
    const std::wstring_view wide = WideOf(text);
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, bytes.data(), size, nullptr, nullptr);
    }
    return bytes;
}

std::u16string FromAnsi(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(size > 0 ? size : 0), u'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), length,
                            reinterpret_cast<wchar_t*>(text.data()), size);
    }
    return text;
}

}  // namespace base
