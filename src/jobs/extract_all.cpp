#include "extract_all.h"

#include <array>

#include "command_line.h"
#include "launch_or_report.h"

namespace {

// Rows in the order they are tested; the minimise box picks style 2 here.
constexpr std::array<DecisionRow, 8> kExtractAllTable{{
    {0, 0, 0, {"pdixtract -m ", WindowStyle::MaximizedActive}},
    {1, 0, 0, {"pdixtract -r -m ", WindowStyle::MaximizedActive}},
    {1, 1, 0, {"pdixtract -r -v -m ", WindowStyle::MaximizedActive}},
    {1, 1, 1, {"pdixtract -r -v -m ", WindowStyle::MinimizedActive}},
    {0, 1, 1, {"pdixtract -v -m ", WindowStyle::MinimizedActive}},
    {0, 1, 0, {"pdixtract -v -m ", WindowStyle::MaximizedActive}},
    {1, 0, 1, {"pdixtract -r -m ", WindowStyle::MinimizedActive}},
    {0, 0, 1, {"pdixtract -m ", WindowStyle::MinimizedActive}},
}};

}  // namespace

std::optional<CommandChoice> ExtractAllChoice(const OptionFlags& flags) {
    return FindRow(kExtractAllTable, flags);
}

void ExtractAll(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs) {
    ApplyDriveRootRule(fields);
    const auto choice = ExtractAllChoice(fields.optionFlags());
    if (!choice) return;
    const QString commandLine = ComposeCommandLine(QString::fromLatin1(choice->prefix),
                                                   fields.destinationPath(), fields.sourcePath());
    LaunchOrReport(launcher, dialogs, commandLine, choice->style);
}
