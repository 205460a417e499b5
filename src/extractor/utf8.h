// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zelvorn {

// UTF-8 bytes as UTF-16 text; each byte sequence that is not valid UTF-8
// becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// UTF-16 text as UTF-8 bytes; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace zelvorn
