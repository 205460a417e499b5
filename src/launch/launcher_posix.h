// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/launcher.h"

namespace zelvorn {

// The argument vector for running `arguments` (program first) in its own
// terminal: `-iconic -e ...` for the minimised styles, `-maximized -e ...`
// for the maximised one.
std::vector<std::string> TerminalArguments(WindowStyle style,
                                           const std::vector<std::string>& arguments);

// Finds `program` as a shell would, without one: a name holding a slash as it
// stands, otherwise the first executable regular file of that name in the
// folders of `searchPath` (PATH's form; an empty entry is the current folder).
std::optional<std::string> FindExecutable(std::string_view program, std::string_view searchPath);

// The launcher of the real program: splits the command line once, resolves
// the program word on PATH and starts it in a session of its own, in an xterm
// when there is an X display and xterm is installed, else directly; never
// through a shell. A watched start stays our child, so we learn when it ends
// (and how, without the xterm, which keeps the extractor's status to itself).
class ProcessLauncher : public Launcher {
public:
    enum class Terminal { WhenAvailable, Never };

    explicit ProcessLauncher(Terminal terminal = Terminal::WhenAvailable) : m_terminal(terminal) {}
    LaunchResult launch(std::u16string_view commandLine, WindowStyle style) override;
    LaunchResult launchWatched(std::u16string_view commandLine, WindowStyle style) override;

private:
    LaunchResult start(std::u16string_view commandLine, WindowStyle style, bool watched);

    Terminal m_terminal;
};

}  // namespace zelvorn
