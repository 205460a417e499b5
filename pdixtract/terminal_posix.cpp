// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "terminal.h"

namespace pdix {

void prepare_console() {}

void restore_console() {}

bool is_terminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

bool input_is_terminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

int terminal_width(std::FILE* stream) {
    winsize ws{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &ws) != 0) return 0;
    return ws.ws_col;
}

bool terminal_takes_title() {
    const char* term = std::getenv("TERM");
    return term == nullptr || std::strcmp(term, "dumb") != 0;
}

}  // namespace pdix
