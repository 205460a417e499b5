#pragma once

#include <optional>

#include <QString>

#include "dialogs.h"
#include "launcher.h"
#include "main_window_fields.h"
#include "selection_window.h"
#include "wait.h"

// How long the extractor gets to write the list file before it is read.
inline constexpr int kListFileWaitMs = 1000;

// "Extract files": tidies a drive-root destination, asks the extractor to
// write the set's list to `listFile` (minimised, whatever the boxes say),
// waits a second and shows the selection window. Stops after telling the user
// when there is no list file path or the extractor could not be started.
void ListFiles(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs, Wait& wait,
               SelectionWindow& window, const std::optional<QString>& listFile);
