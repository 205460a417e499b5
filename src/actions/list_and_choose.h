// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "actions/dialogs.h"
#include "actions/main_window_fields.h"
#include "launch/launcher.h"
#include "list_file/list_file_reader.h"

namespace zelvorn {

// How long the extractor gets to write the list file before it is read.
inline constexpr int kListFileWaitMs = 1000;

// A pause of the calling thread, behind a seam so tests do not sleep.
class Wait {
public:
    virtual ~Wait() = default;
    // Returns after `milliseconds`; the user-interface thread neither repaints
    // nor takes input meanwhile.
    virtual void wait(int milliseconds) = 0;
};

// The file selection window as "Extract files" sees it: at most one exists.
class SelectionWindowOpener {
public:
    virtual ~SelectionWindowOpener() = default;
    // Creates and shows the window when none is open, modeless and without an
    // owner, waiting for the list `request` names until it comes or its list
    // command has ended without it. Its presses read `mainWindow` at that
    // moment. An open window is only brought to the front, with what it shows.
    virtual void showOrRaise(MainWindowFields& mainWindow, ListRequest request) = 0;
};

// "Extract files": tidies a drive-root destination, notes the list file as it
// is, asks the extractor to write the set's list there (minimised, whatever
// the boxes say) and keeps hold of it, waits a second and shows the selection
// window, which waits on for the list if need be. Stops after telling the
// user when there is no list file path or the extractor could not be started.
void ListAndChoose(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs, Wait& wait,
                   SelectionWindowOpener& window, const ListFileLocation& listFile);

}  // namespace zelvorn
