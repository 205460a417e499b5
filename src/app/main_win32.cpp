// SPDX-License-Identifier: GPL-3.0-or-later
// Zelvorn.exe: the core's actions under native Win32 windows.
#include <windows.h>

#include <commctrl.h>

#include "launch/launcher_win32.h"
#include "main_window/dialogs_win32.h"
#include "main_window/main_window_win32.h"
#include "selection_window/selection_window_win32.h"
#include "list_file/list_file_access.h"
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

    zelvorn::ProcessLauncher launcher;
    zelvorn::Win32Dialogs dialogs;
    SleepWait wait;
    zelvorn::Form2Opener selectionWindow(launcher, dialogs);
    zelvorn::Form1 form1(launcher, dialogs, wait, selectionWindow,
                         {zelvorn::ListFilePath(), zelvorn::StampListFile});
    dialogs.setOwner(form1.hwnd());
    ShowWindow(form1.hwnd(), show);
    return zelvorn::RunMessageLoop();
}
