#pragma once

#include <QStringList>

#include "launcher.h"

// Builds the argument vector for running `arguments` (program word first) in
// its own terminal: `terminal -iconic -e ...` for the minimised styles and
// `terminal -maximized -e ...` for the maximised one.
QStringList TerminalArguments(WindowStyle style, const QStringList& arguments);

// The launcher of the real program: splits the command line once, resolves the
// program word on the search path and starts it detached, in an xterm when a
// display and xterm are available, else directly. Never through a shell.
class ProcessLauncher : public Launcher {
public:
    enum class Terminal { WhenAvailable, Never };

    explicit ProcessLauncher(Terminal terminal = Terminal::WhenAvailable);
    LaunchResult launch(const QString& commandLine, WindowStyle style) override;

private:
    Terminal m_terminal;
};
