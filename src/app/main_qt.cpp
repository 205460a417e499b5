// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/program.h"
#include "launch/launcher_posix.h"
#include "main_window/dialogs_qt.h"
#include "main_window/main_window_qt.h"
#include "selection_window/selection_window_qt.h"

namespace {

// Without a display the toolkit would abort with a cryptic message; say what
// to do instead.
bool DisplayMissing() {
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The real pause: blocks the user-interface thread.
class ThreadSleep : public zelvorn::Wait {
public:
    void wait(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (DisplayMissing()) {
        std::fputs(
            "zelvorn: no display found (DISPLAY is not set); run it under Xvfb instead: xvfb-run "
            "-a zelvorn\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelvorn"));
    QApplication::setApplicationVersion(QStringLiteral(ZELVORN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zelvorn.Zelvorn"));

    // Closing the main window only hides it: the selection window may still
    // read its fields, and the program ends when the last window closes.
    zelvorn::Program<zelvorn::ProcessLauncher, zelvorn::QtDialogs, ThreadSleep,
                     zelvorn::SelectionWindowKeeper, zelvorn::MainWindow>
        program(u"/");
    program.dialogs.setOwner(&program.mainWindow);
    program.mainWindow.show();
    // The arguments left once Qt has taken its own (-platform, -style, ...).
    program.mainWindow.openOnStart(QCoreApplication::arguments().mid(1));
    return app.exec();
}
