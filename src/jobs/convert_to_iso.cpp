#include "convert_to_iso.h"

#include <array>

#include "command_line.h"
#include "launch_or_report.h"

namespace {

// Rows in the order they are tested; the VIDEO_TS box plays no part here.
constexpr std::array<DecisionRow, 8> kConvertToIsoTable{{
    {0, 0, 0, {"pdixtract -i ", WindowStyle::MaximizedActive}},
    {1, 0, 0, {"pdixtract -r -i ", WindowStyle::MaximizedActive}},
    {1, 1, 0, {"pdixtract -r -i ", WindowStyle::MaximizedActive}},
    {1, 1, 1, {"pdixtract -r -i ", WindowStyle::MinimizedActive}},
    {1, 0, 1, {"pdixtract -r -i ", WindowStyle::MinimizedActive}},
    {0, 1, 1, {"pdixtract -i ", WindowStyle::MinimizedActive}},
    {0, 0, 1, {"pdixtract -i ", WindowStyle::MinimizedActive}},
    {0, 1, 0, {"pdixtract -i ", WindowStyle::MaximizedActive}},
}};

}  // namespace

QList<FileFilter> FiltersFromText(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FileFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters.append({parts[i], parts[i + 1]});
    return filters;
}

void SaveAsDialog::showSave(Dialogs& dialogs) {
    if (const auto chosen = dialogs.chooseFileToSave(m_fileName, m_filters)) m_fileName = *chosen;
}

std::optional<CommandChoice> ConvertToIsoChoice(const OptionFlags& flags) {
    return FindRow(kConvertToIsoTable, flags);
}

void ConvertToIso(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs,
                  SaveAsDialog& saveAs) {
    saveAs.setFilter(QStringLiteral("ISO-files|*.iso|All Files|*.*"));
    saveAs.showSave(dialogs);
    // Written whatever the user did in the dialog and whatever the answer below.
    fields.setDestinationPath(saveAs.fileName());
    const auto choice = ConvertToIsoChoice(fields.optionFlags());
    if (!choice) return;
    if (!dialogs.askYesNo(
            QStringLiteral("Warning"),
            QStringLiteral("If your filesystem is FAT32 this may cause errors due to the "
                           "filesize.\r\nContinue?"))) {
        return;
    }
    // Read back from the field: what the user sees is what is converted.
    const QString commandLine = ComposeCommandLine(QString::fromLatin1(choice->prefix),
                                                   fields.destinationPath(), fields.sourcePath());
    LaunchOrReport(launcher, dialogs, commandLine, choice->style);
}
