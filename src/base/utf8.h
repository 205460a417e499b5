// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// One UTF-8 sequence as found at a position: the code point it carries and the
// bytes it spans. When no valid sequence starts there (a stray continuation
// byte, an overlong form, a surrogate, a value past U+10FFFF or a sequence
// cut short), `valid` is false and `length` spans the broken bytes: the lead
// byte and the continuation bytes that follow it, at least one byte.
struct Utf8Sequence {
    char32_t codePoint = 0;
    std::size_t length = 1;
    bool valid = false;
};

// Decodes the sequence at `bytes[at]`; `at` must lie inside `bytes`.
Utf8Sequence DecodeUtf8(std::string_view bytes, std::size_t at);

// Appends `codePoint` as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 bytes as UTF-16 text; each broken sequence becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// UTF-16 text as UTF-8 bytes; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace base
