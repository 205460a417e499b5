// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/terminal_text.h"

#include <cstdio>

#include "base/utf8.h"

namespace base {

namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

}  // namespace

std::string EscapeForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Sequence sequence = DecodeUtf8(text, at);
        if (sequence.valid && !IsControl(sequence.codePoint)) {
            out.append(text.substr(at, sequence.length));
        } else {
            for (std::size_t i = at; i < at + sequence.length; ++i) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[i]));
                out += hex;
            }
        }
        at += sequence.length;
    }
    return out;
}

}  // namespace base
