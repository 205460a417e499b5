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

// Splits a classic filter text, descriptions and patterns alternating between
// "|" ("ISO-files|*.iso|All Files|*.*"), into its filters in order; a
// description left without a pattern is dropped.
std::vector<FileFilter> FiltersFromText(std::u16string_view filter);

// The Save As dialog the main window keeps for the whole run: the name last
// confirmed is the starting name of the next use, and a cancel leaves it as
// it was, so a cancel is not told apart from confirming the same name.
class SaveAsDialog {
public:
    // The type list of the next use, as a classic filter text.
    void setFilter(std::u16string_view filter) { m_filters = FiltersFromText(filter); }
    // Shows the dialog and waits; a confirmed name becomes the file name.
    void showSave(Dialogs& dialogs);
    // The name last confirmed in this run; empty before the first.
    const std::u16string& fileName() const { return m_fileName; }

private:
    std::vector<FileFilter> m_filters;
    std::u16string m_fileName;
};

// The prefix and window style "Convert to Iso" uses for these boxes, or
// nothing when a box is in neither state.
std::optional<CommandChoice> ConvertToIsoChoice(const OptionBoxes& boxes);

// "Convert to Iso": asks for the ISO file's name, writes it into the
// destination field whatever follows, warns about FAT32 and on Yes starts the
// extractor's conversion.
void ConvertToIso(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs,
                  SaveAsDialog& saveAs);

}  // namespace zelvorn
