// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/list_and_choose.h"

namespace zelvorn {

void ListAndChoose(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs, Wait& wait,
                   SelectionWindowOpener& window, const ListFileLocation& listFile) {
    ApplyDriveRootRule(fields);
    if (listFile.path.empty()) {
        dialogs.showError(u"No folder for the list of files",
                          u"Zelvorn found no private folder to keep the list of files in, so "
                          u"nothing was started.\n\nSet XDG_RUNTIME_DIR to a folder that only "
                          u"you can use, whose path holds no blank, then try again.");
        return;
    }
    const ListFileStamp before = listFile.stamp(listFile.path);
    const std::u16string commandLine = ComposeListCommandLine(listFile.path, fields.sourcePath());
    if (!LaunchOrReport(launcher, dialogs, commandLine, WindowStyle::MinimizedActive)) return;
    // The extractor's only coordination: it should have written the list by then.
    wait.wait(kListFileWaitMs);
    window.showOrRaise(fields, listFile.path, before);
}

}  // namespace zelvorn
