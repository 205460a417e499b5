// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/convert_to_iso.h"

#include <array>

namespace zelvorn {

namespace {

using enum BoxState;
using enum WindowStyle;

// Rows in the order they are tested; the VIDEO_TS box plays no part here.
// clang-format off
constexpr std::array<DecisionRow, 8> kConvertToIsoTable{{
    {{Unchecked, Unchecked, Unchecked}, {u"pdixtract -i ",       MaximizedActive}},
    {{Checked,   Unchecked, Unchecked}, {u"pdixtract -r -i ",    MaximizedActive}},
    {{Checked,   Checked,   Unchecked}, {u"pdixtract -r -i ",    MaximizedActive}},
    {{Checked,   Checked,   Checked},   {u"pdixtract -r -i ",    MinimizedActive}},
    {{Checked,   Unchecked, Checked},   {u"pdixtract -r -i ",    MinimizedActive}},
    {{Unchecked, Checked,   Checked},   {u"pdixtract -i ",       MinimizedActive}},
    {{Unchecked, Unchecked, Checked},   {u"pdixtract -i ",       MinimizedActive}},
    {{Unchecked, Checked,   Unchecked}, {u"pdixtract -i ",       MaximizedActive}},
}};
// clang-format on

}  // namespace

std::vector<FileFilter> FiltersFromText(std::u16string_view filter) {
    std::vector<std::u16string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = filter.find(u'|', start);
        parts.emplace_back(filter.substr(start, bar - start));
        if (bar == std::u16string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

void SaveAsDialog::showSave(Dialogs& dialogs) {
    if (auto chosen = dialogs.chooseFileToSave(m_fileName, m_filters)) m_fileName = *chosen;
}

std::optional<CommandChoice> ConvertToIsoChoice(const OptionBoxes& boxes) {
    return FindRow(kConvertToIsoTable, boxes);
}

void ConvertToIso(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs,
                  SaveAsDialog& saveAs) {
    saveAs.setFilter(u"ISO-files|*.iso|All Files|*.*");
    saveAs.showSave(dialogs);
    // Written whatever the user did in the dialog and whatever the answer below.
    fields.setDestinationPath(saveAs.fileName());
    const auto choice = ConvertToIsoChoice(fields.optionBoxes());
    if (!choice) return;
    if (!dialogs.askYesNo(u"Warning",
                          u"If your filesystem is FAT32 this may cause errors due to the "
                          u"filesize.\r\nContinue?")) {
        return;
    }
    // Read back from the field: what the user sees is what is converted.
    const std::u16string commandLine =
        ComposeCommandLine(choice->prefix, fields.destinationPath(), fields.sourcePath());
    LaunchOrReport(launcher, dialogs, commandLine, choice->style);
}

}  // namespace zelvorn
