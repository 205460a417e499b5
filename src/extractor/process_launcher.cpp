#include "process_launcher.h"

#include <QProcess>
#include <QStandardPaths>

#include "command_line.h"

namespace {

// xterm is an X client: on a Wayland session it needs XWayland, which sets
// DISPLAY. Without it the extractor runs directly rather than not at all.
bool XDisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

}  // namespace

QStringList TerminalArguments(WindowStyle style, const QStringList& arguments) {
    const QString placement = style == WindowStyle::MaximizedActive ? QStringLiteral("-maximized")
                                                                    : QStringLiteral("-iconic");
    return QStringList{placement, QStringLiteral("-e")} + arguments;
}

ProcessLauncher::ProcessLauncher(Terminal terminal) : m_terminal(terminal) {}

LaunchResult ProcessLauncher::launch(const QString& commandLine, WindowStyle style) {
    QStringList arguments = SplitCommandLine(commandLine);
    if (arguments.isEmpty())
        return {LaunchResult::Status::StartFailed, QStringLiteral("the command line is empty")};

    const QString program = QStandardPaths::findExecutable(arguments.first());
    if (program.isEmpty()) return {LaunchResult::Status::ProgramNotFound, {}};
    arguments.first() = program;

    QProcess process;
    const QString terminal = m_terminal == Terminal::WhenAvailable && XDisplayAvailable()
                                 ? QStandardPaths::findExecutable(QStringLiteral("xterm"))
                                 : QString();
    if (terminal.isEmpty()) {
        process.setProgram(program);
        process.setArguments(arguments.mid(1));
    } else {
        process.setProgram(terminal);
        process.setArguments(TerminalArguments(style, arguments));
        // Our pdixtract then keeps its window open after a failure until the
        // user has read why; a success closes it as before.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PDIXTRACT_HOLD_ON_ERROR"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
    }
    // The extractor is on its own: its output goes to its terminal, never to us.
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        return {LaunchResult::Status::StartFailed, process.errorString()};
    }
    return {};
}
