// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "actions/dialogs.h"
#include "actions/main_window_fields.h"
#include "launch/decision_table.h"
#include "launch/launcher.h"

namespace zelvorn {

// The prefix and window style "Extract all files" uses for these boxes, or
// nothing when a box is in neither state.
std::optional<CommandChoice> ExtractAllChoice(const OptionBoxes& boxes);

// "Extract all files": tidies a drive-root destination, then starts the
// extractor on the whole set.
void ExtractAll(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs);

}  // namespace zelvorn
