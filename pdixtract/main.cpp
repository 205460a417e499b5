// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>

#include "base/terminal_text.h"
#include "pdixtract/commands.h"
#include "pdixtract/errors.h"
#include "pdixtract/signals.h"
#include "pdixtract/terminal.h"

namespace {

// Started in a terminal window of its own (Zelvorn sets the variable), the
// window would close with the process and take the error message with it:
// keep it open until the user has read it.
void HoldOnError() {
    const char* hold = std::getenv("PDIXTRACT_HOLD_ON_ERROR");
    if (hold == nullptr || *hold == '\0' || !pdixtract::InputIsTerminal()) return;
    std::fputs("Press Enter to close this window.", stderr);
    std::fflush(stderr);
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
    }
}

int Finish(int status) {
    if (status != 0) HoldOnError();
    return status;
}

int Main(int argc, const char* const* argv) {
    pdixtract::PrepareConsole();
    pdixtract::InstallSignalHandlers();
    pdixtract::Console console;
    console.live = pdixtract::IsTerminal(stdout);
    console.title = console.live && pdixtract::TerminalTakesTitle();
    pdixtract::Options options;
    try {
        options = pdixtract::ParseArgs(argc, argv);
    } catch (const pdixtract::Failure& failure) {
        std::fprintf(stderr, "pdixtract: %s\n", base::EscapeForTerminal(failure.what()).c_str());
        return Finish(static_cast<int>(failure.code()));
    }
    return Finish(pdixtract::Run(options, console));
}

}  // namespace

#ifdef _WIN32
#include <string>
#include <vector>

#include "pdixtract/text_win32.h"

// Windows hands the arguments over in UTF-16; pdixtract works in UTF-8.
int wmain(int argc, wchar_t** wideArgv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(pdixtract::Narrow(wideArgv[i]));
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return Main(argc, argv.data());
}
#else
int main(int argc, char** argv) {
    return Main(argc, argv);
}
#endif
