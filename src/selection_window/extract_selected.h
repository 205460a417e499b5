// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/dialogs.h"
#include "actions/main_window_fields.h"
#include "launch/decision_table.h"
#include "launch/launcher.h"

namespace zelvorn {

// The prefix and window style "Extract file(s)" uses for these boxes (the
// minimise box picks style 6 here, unchecked 3), or nothing when a box is in
// neither state.
std::optional<CommandChoice> ExtractSelectedChoice(const OptionBoxes& boxes);

// The file name of a list entry: its text before the first blank (a tab does
// not count); an entry with no blank is all name.
std::u16string_view FileNameOf(std::u16string_view entry);

// The names text for the selected entries, given in list order: one blank and
// the file name for each, so empty or starting with a blank. An empty entry
// adds nothing; one that starts with a blank adds a lone blank.
std::u16string NamesText(const std::vector<std::u16string>& selectedEntries);

// The file selection window's list and its hidden names field, as
// "Extract file(s)" reads and writes them.
class SelectionList {
public:
    virtual ~SelectionList() = default;
    // The texts of the selected entries in list order, whatever the order in
    // which the user selected them.
    virtual std::vector<std::u16string> selectedEntries() const = 0;
    // The hidden field that carries the names text from the walk over the
    // list to the command line.
    virtual void setNamesText(const std::u16string& text) = 0;
    virtual std::u16string namesText() const = 0;
};

// What the file selection window works with beyond its own controls.
struct SelectionWindowSeams {
    MainWindowFields& mainWindow;  // its paths and boxes, read at each press
    Launcher& launcher;
    Dialogs& dialogs;
};

// "Extract file(s)": starts one extraction of every selected entry, with the
// main window's boxes and paths as they are now.
void ExtractSelected(const SelectionWindowSeams& seams, SelectionList& list);

}  // namespace zelvorn
