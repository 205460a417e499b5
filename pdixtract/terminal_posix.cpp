// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "pdixtract/terminal.h"

namespace pdixtract {

void PrepareConsole() {}

void RestoreConsole() {}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

bool InputIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

int TerminalWidth(std::FILE* stream) {
    winsize ws{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &ws) != 0) return 0;
    return ws.ws_col;
}

bool TerminalTakesTitle() {
    const char* term = std::getenv("TERM");
    return term == nullptr || std::strcmp(term, "dumb") != 0;
}

}  // namespace pdixtract
