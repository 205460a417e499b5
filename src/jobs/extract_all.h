#pragma once

#include <optional>

#include "decision_table.h"
#include "dialogs.h"
#include "launcher.h"
#include "main_window_fields.h"

// The prefix and window style "Extract all files" uses for these boxes, or
// nothing when a box is in neither state.
std::optional<CommandChoice> ExtractAllChoice(const OptionFlags& flags);

// "Extract all files": tidies a drive-root destination, then starts the
// extractor on the whole set.
void ExtractAll(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs);
