// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/dialogs.h"

namespace zelvorn {

bool LaunchOrReport(Launcher& launcher, Dialogs& dialogs, std::u16string_view commandLine,
                    WindowStyle style) {
    return StartedOrReported(launcher.launch(commandLine, style), launcher, dialogs);
}

bool StartedOrReported(const LaunchResult& result, const Launcher& launcher, Dialogs& dialogs) {
    switch (result.status) {
        case LaunchResult::Status::Started:
            return true;
        case LaunchResult::Status::ProgramNotFound: {
            const std::u16string searchedFirst = launcher.searchedFirst();
            dialogs.showError(
                u"pdixtract not found",
                searchedFirst.empty()
                    ? u"pdixtract could not be found on the search path (PATH), so nothing was "
                      u"started.\n\nInstall pdixtract or add its folder to PATH, then try again."
                    : u"Zelvorn looked for pdixtract in its own folder first (" + searchedFirst +
                          u"), then on the search path (PATH), and found none, so nothing was "
                          u"started.\n\nPut pdixtract beside Zelvorn or add its folder to PATH, "
                          u"then try again.");
            return false;
        }
        case LaunchResult::Status::StartFailed:
            dialogs.showError(u"pdixtract could not be started",
                              u"pdixtract could not be started: " + result.reason);
            return false;
    }
    return false;
}

}  // namespace zelvorn
