// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/extract_all.h"

#include <array>

namespace zelvorn {

namespace {

// Rows in the order they are tested; the minimise box picks style 2 here.
constexpr std::array<DecisionRow, 8> kExtractAllTable{{
    {0, 0, 0, {u"pdixtract -m ", WindowStyle::MaximizedActive}},
    {1, 0, 0, {u"pdixtract -r -m ", WindowStyle::MaximizedActive}},
    {1, 1, 0, {u"pdixtract -r -v -m ", WindowStyle::MaximizedActive}},
    {1, 1, 1, {u"pdixtract -r -v -m ", WindowStyle::MinimizedActive}},
    {0, 1, 1, {u"pdixtract -v -m ", WindowStyle::MinimizedActive}},
    {0, 1, 0, {u"pdixtract -v -m ", WindowStyle::MaximizedActive}},
    {1, 0, 1, {u"pdixtract -r -m ", WindowStyle::MinimizedActive}},
    {0, 0, 1, {u"pdixtract -m ", WindowStyle::MinimizedActive}},
}};

}  // namespace

std::optional<CommandChoice> ExtractAllChoice(const OptionFlags& flags) {
    return FindRow(kExtractAllTable, flags);
}

void ExtractAll(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs) {
    ApplyDriveRootRule(fields);
    const auto choice = ExtractAllChoice(fields.optionFlags());
    if (!choice) return;
    // Read after the rule: the tidied text is what the user now sees.
    const std::u16string commandLine =
        ComposeCommandLine(choice->prefix, fields.destinationPath(), fields.sourcePath());
    LaunchOrReport(launcher, dialogs, commandLine, choice->style);
}

}  // namespace zelvorn
