// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts across the Windows edge, for Windows builds only. The programs'
// char16_t texts and Windows' wchar_t texts are both UTF-16 there, so the
// wide side is only a view; the ANSI side goes through the system's code page.

#include <string>
#include <string_view>

namespace base {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide texts are UTF-16");

// The same UTF-16 text, seen as Windows' wide characters.
inline const wchar_t* WideOf(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::wstring_view WideOf(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}
inline std::u16string_view U16Of(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// `text` in the system's ANSI code page; characters it cannot hold become the
// code page's default character.
std::string ToAnsi(std::u16string_view text);

// Bytes in the system's ANSI code page as text.
std::u16string FromAnsi(std::string_view bytes);

}  // namespace base
