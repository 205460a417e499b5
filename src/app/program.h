// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "list_file/list_file_access.h"
#include "main_window/main_window_controller.h"

namespace zelvorn {

// Zelvorn's parts, made and wired alike on every platform from the
// platform's own: its launcher, dialogs, pause, the keeper of the one file
// selection window, and the main window over them all. `rootFolder` is where
// the open dialog starts.
template <typename Launcher, typename Dialogs, typename Wait, typename SelectionWindowKeeper,
          typename MainWindow>
struct Program {
    explicit Program(std::u16string_view rootFolder)
        : mainWindow(MainWindowSeams{launcher, dialogs, wait, selectionWindow, PlatformListFile(),
                                     rootFolder}) {}

    Launcher launcher;
    Dialogs dialogs;
    Wait wait;
    SelectionWindowKeeper selectionWindow{launcher, dialogs};
    MainWindow mainWindow;
};

}  // namespace zelvorn
