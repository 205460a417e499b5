// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

namespace pdix {

// True if stream writes to a terminal.
bool is_terminal(std::FILE* stream);

// True if standard input is a terminal a person can answer on.
bool input_is_terminal();

// The width in columns of the terminal stream writes to, or 0 if it is not known.
int terminal_width(std::FILE* stream);

// True if the terminal takes xterm's title sequences (TERM is not "dumb").
bool terminal_takes_title();

}  // namespace pdix
