#include "list_files.h"

#include "launch_or_report.h"
#include "list_file.h"

void ListFiles(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs, Wait& wait,
               SelectionWindow& window, const std::optional<QString>& listFile) {
    ApplyDriveRootRule(fields);
    if (!listFile) {
        dialogs.showError(
            QStringLiteral("No folder for the list of files"),
            QStringLiteral("Zelvorn found no private folder to keep the list of files in, so "
                           "nothing was started.\n\nSet XDG_RUNTIME_DIR to a folder that only you "
                           "can use, whose path holds no blank, then try again."));
        return;
    }
    const QString commandLine = ComposeListCommandLine(*listFile, fields.sourcePath());
    if (!LaunchOrReport(launcher, dialogs, commandLine, WindowStyle::MinimizedActive)) return;
    // The extractor's only coordination: it should have written the list by then.
    wait.wait(kListFileWaitMs);
    window.showOrRaise(fields, *listFile);
}
