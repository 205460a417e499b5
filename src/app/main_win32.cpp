// SPDX-License-Identifier: GPL-3.0-or-later
// Zelvorn.exe: the core's actions under native Win32 windows.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <span>

#include "app/program.h"
#include "launch/launcher_win32.h"
#include "main_window/dialogs_win32.h"
#include "main_window/main_window_win32.h"
#include "selection_window/selection_window_win32.h"
#include "window_kit/window_look_win32.h"

namespace {

// The real pause: the user-interface thread neither repaints nor takes input.
class SleepWait : public zelvorn::Wait {
public:
    void wait(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);

    // The open dialog starts at Windows' drive root.
    zelvorn::Program<zelvorn::ProcessLauncher, zelvorn::Win32Dialogs, SleepWait,
                     zelvorn::SelectionWindowKeeper, zelvorn::MainWindow>
        program(u"C:\\");
    program.dialogs.setOwner(program.mainWindow.hwnd());
    ShowWindow(program.mainWindow.hwnd(), show);
    // The runtime's split of the command line, as every Windows program's:
    // a file manager's "%1" arrives whole.
    program.mainWindow.openOnStart(std::span<const wchar_t* const>(
        __wargv + 1, static_cast<std::size_t>(__argc > 1 ? __argc - 1 : 0)));
    return zelvorn::RunMessageLoop();
}
