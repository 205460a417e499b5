// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

namespace pdixtract {

// Readies the console, if there is one, for what pdixtract prints (on Windows: UTF-8 text and
// unchanged line ends; nothing elsewhere). Undone at exit or by RestoreConsole.
void PrepareConsole();

// Gives the console back as PrepareConsole and IsTerminal found it.
void RestoreConsole();

// True if stream writes to a terminal that takes escape sequences (on Windows, a console
// that takes them once asked to).
bool IsTerminal(std::FILE* stream);

// True if standard input is a terminal a person can answer on.
bool InputIsTerminal();

// The width in columns of the terminal stream writes to, or 0 if it is not known.
int TerminalWidth(std::FILE* stream);

// True if the terminal takes xterm's title sequences (TERM is not "dumb").
bool TerminalTakesTitle();

}  // namespace pdixtract
