// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdio>

#include "form1.h"
#include "form2_opener.h"
#include "process_launcher.h"
#include "qt_dialogs.h"
#include "wait.h"

namespace {

// Without a display the toolkit would abort with a cryptic message; say what
// to do instead.
bool DisplayMissing() {
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

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
    QApplication::setApplicationVersion(QStringLiteral("0.7"));
    QApplication::setDesktopFileName(QStringLiteral("org.zelvorn.Zelvorn"));

    ProcessLauncher launcher;
    QtDialogs dialogs;
    BlockingWait wait;
    Form2Opener selectionWindow(launcher, dialogs);
    // Closing the main window only hides it: the selection window may still
    // read its fields, and the program ends when the last window closes.
    Form1 form1(launcher, dialogs, wait, selectionWindow);
    dialogs.setOwner(&form1);
    form1.show();
    return app.exec();
}
