// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace base {

// `text` fit to be printed on a terminal: control characters (C0, DEL, C1)
// and bytes that are not UTF-8 are shown as "\xHH", so a name can never steer
// the terminal it is printed on.
std::string EscapeForTerminal(std::string_view text);

}  // namespace base
