// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/extract_selected.h"

#include <array>

namespace zelvorn {

namespace {

// Rows in the order they are tested; the minimise box picks style 6 here.
constexpr std::array<DecisionRow, 8> kExtractSelectedTable{{
    {0, 0, 0, {u"pdixtract -m ", WindowStyle::MaximizedActive}},
    {1, 0, 0, {u"pdixtract -r -m ", WindowStyle::MaximizedActive}},
    {1, 1, 0, {u"pdixtract -r -v -m ", WindowStyle::MaximizedActive}},
    {1, 1, 1, {u"pdixtract -r -v -m ", WindowStyle::MinimizedInactive}},
    {0, 1, 1, {u"pdixtract -v -m ", WindowStyle::MinimizedInactive}},
    {0, 0, 1, {u"pdixtract -m ", WindowStyle::MinimizedInactive}},
    {1, 0, 1, {u"pdixtract -r -m ", WindowStyle::MinimizedInactive}},
    {0, 1, 0, {u"pdixtract -v -m ", WindowStyle::MaximizedActive}},
}};

}  // namespace

std::optional<CommandChoice> ExtractSelectedChoice(const OptionFlags& flags) {
    return FindRow(kExtractSelectedTable, flags);
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

void ExtractSelected(MainWindowFields& mainWindow, SelectionList& list, Launcher& launcher,
                     Dialogs& dialogs) {
    const auto choice = ExtractSelectedChoice(mainWindow.optionFlags());
    if (!choice) return;
    std::vector<std::u16string> selected;
    const std::size_t count = list.entryCount();
    for (std::size_t i = 0; i < count; ++i) {
        if (list.isSelected(i)) selected.push_back(list.entryText(i));
    }
    // The names travel through the hidden field, which keeps the last press's.
    list.setNamesField(NamesText(selected));
    const std::u16string commandLine =
        ComposeCommandLine(choice->prefix, mainWindow.destinationPath(), mainWindow.sourcePath(),
                           list.namesField());
    LaunchOrReport(launcher, dialogs, commandLine, choice->style);
}

}  // namespace zelvorn
