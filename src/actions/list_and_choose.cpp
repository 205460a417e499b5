// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/list_and_choose.h"

namespace zelvorn {

void ListAndChoose(MainWindowFields& fields, Launcher& launcher, Dialogs& dialogs, Wait& wait,
                   SelectionWindowOpener& window, const ListFileLocation& listFile) {
    ApplyDriveRootRule(fields);
    if (listFile.path.empty()) {
        dialogs.showError(u"No folder for the list of files",
                          u"Zelvorn found no private folder to keep the list of files in, so "
                          u"nothing was started: neither XDG_RUNTIME_DIR nor /tmp/runtime- with "
                          u"your user number is a folder of yours that only you can use.\n\n"
                          u"Make one of them such a folder (mode 700, no blank in its path), "
                          u"then try again.");
        return;
    }
    ListRequest request{listFile.path, listFile.stamp(listFile.path), nullptr};
    const std::u16string commandLine = ComposeListCommandLine(listFile.path, fields.sourcePath());
    LaunchResult started = launcher.launchWatched(commandLine, WindowStyle::MinimizedActive);
    if (!StartedOrReported(started, launcher, dialogs)) return;
    request.extractor = std::move(started.process);
    // Most lists are written by then; the window waits on for a slower one.
    wait.wait(kListFileWaitMs);
    window.showOrRaise(fields, std::move(request));
}

}  // namespace zelvorn
