// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

namespace pdix {

// Readies the console, if there is one, for what pdixtract prints (on Windows: UTF-8 text and
// unchanged line ends; nothing elsewhere). Undone at exit or by restore_console.
void prepare_console();

// Gives the console back as prepare_console and is_terminal found it.
void restore_console();

// True if stream writes to a terminal that takes escape sequences (on Windows, a console
// that takes them once asked to).
bool is_terminal(std::FILE* stream);

// True if standard input is a terminal a person can answer on.
bool input_is_terminal();

// The width in columns of the terminal stream writes to, or 0 if it is not known.
int terminal_width(std::FILE* stream);

// True if the terminal takes xterm's title sequences (TERM is not "dumb").
bool terminal_takes_title();

}  // namespace pdix
