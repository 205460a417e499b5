// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/extract_selected.h"

#include <array>

namespace zelvorn {

namespace {

using enum BoxState;
using enum WindowStyle;

// Rows in the order they are tested; the minimise box picks style 6 here.
// clang-format off
constexpr std::array<DecisionRow, 8> kExtractSelectedTable{{
    {{Unchecked, Unchecked, Unchecked}, {u"pdixtract -m ",       MaximizedActive}},
    {{Checked,   Unchecked, Unchecked}, {u"pdixtract -r -m ",    MaximizedActive}},
    {{Checked,   Checked,   Unchecked}, {u"pdixtract -r -v -m ", MaximizedActive}},
    {{Checked,   Checked,   Checked},   {u"pdixtract -r -v -m ", MinimizedInactive}},
    {{Unchecked, Checked,   Checked},   {u"pdixtract -v -m ",    MinimizedInactive}},
    {{Unchecked, Unchecked, Checked},   {u"pdixtract -m ",       MinimizedInactive}},
    {{Checked,   Unchecked, Checked},   {u"pdixtract -r -m ",    MinimizedInactive}},
    {{Unchecked, Checked,   Unchecked}, {u"pdixtract -v -m ",    MaximizedActive}},
}};
// clang-format on

}  // namespace

std::optional<CommandChoice> ExtractSelectedChoice(const OptionBoxes& boxes) {
    return FindRow(kExtractSelectedTable, boxes);
}

std::u16string_view FileNameOf(std::u16string_view entry) {
    return entry.substr(0, entry.find(u' '));
}

std::u16string NamesText(const std::vector<std::u16string>& selectedEntries) {
    std::u16string names;
    for (const std::u16string& entry : selectedEntries) {
        if (entry.empty()) continue;  // no name and no stray blank
        names += u' ';
        names += FileNameOf(entry);
    }
    return names;
}

void ExtractSelected(const SelectionWindowSeams& seams, SelectionList& list) {
    const MainWindowFields& mainWindow = seams.mainWindow;
    const auto choice = ExtractSelectedChoice(mainWindow.optionBoxes());
    if (!choice) return;
    // The names travel through the hidden field, which keeps the last press's.
    list.setNamesText(NamesText(list.selectedEntries()));
    const std::u16string commandLine = ComposeCommandLine(
        choice->prefix, mainWindow.destinationPath(), mainWindow.sourcePath(), list.namesText());
    LaunchOrReport(seams.launcher, seams.dialogs, commandLine, choice->style);
}

}  // namespace zelvorn
