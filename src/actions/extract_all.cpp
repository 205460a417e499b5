// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/extract_all.h"

#include <array>

namespace zelvorn {

namespace {

using enum BoxState;
using enum WindowStyle;

// Rows in the order they are tested; the minimise box picks style 2 here.
// clang-format off
constexpr std::array<DecisionRow, 8> kExtractAllTable{{
    {{Unchecked, Unchecked, Unchecked}, {u"pdixtract -m ",       MaximizedActive}},
    {{Checked,   Unchecked, Unchecked}, {u"pdixtract -r -m ",    MaximizedActive}},
    {{Checked,   Checked,   Unchecked}, {u"pdixtract -r -v -m ", MaximizedActive}},
    {{Checked,   Checked,   Checked},   {u"pdixtract -r -v -m ", MinimizedActive}},
    {{Unchecked, Checked,   Checked},   {u"pdixtract -v -m ",    MinimizedActive}},
    {{Unchecked, Checked,   Unchecked}, {u"pdixtract -v -m ",    MaximizedActive}},
    {{Checked,   Unchecked, Checked},   {u"pdixtract -r -m ",    MinimizedActive}},
    {{Unchecked, Unchecked, Checked},   {u"pdixtract -m ",       MinimizedActive}},
}};
// clang-format on

}  // namespace

std::optional<CommandChoice> ExtractAllChoice(const OptionBoxes& boxes) {
    return FindRow(kExtractAllTable, boxes);
}

void ExtractAll(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs) {
    ApplyDriveRootRule(fields);
    const auto choice = ExtractAllChoice(fields.optionBoxes());
    if (!choice) return;
    // Read after the rule: the tidied text is what the user now sees.
    const std::u16string commandLine =
        ComposeCommandLine(choice->prefix, fields.destinationPath(), fields.sourcePath());
    LaunchOrReport(launcher, dialogs, commandLine, choice->style);
}

}  // namespace zelvorn
