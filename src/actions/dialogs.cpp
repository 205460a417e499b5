// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/dialogs.h"

namespace zelvorn {

bool LaunchOrReport(Launcher& launcher, Dialogs& dialogs, std::u16string_view commandLine,
                    WindowStyle style) {
    return StartedOrReported(launcher.launch(commandLine, style), dialogs);
}

bool StartedOrReported(const LaunchResult& result, Dialogs& dialogs) {
    switch (result.status) {
        case LaunchResult::Status::Started:
            return true;
        case LaunchResult::Status::ProgramNotFound:
            dialogs.showError(u"pdixtract not found",
                              u"pdixtract could not be found on the search path (PATH), so "
                              u"nothing was started.\n\nInstall pdixtract or add its folder to "
                              u"PATH, then try again.");
            return false;
        case LaunchResult::Status::StartFailed:
            dialogs.showError(u"pdixtract could not be started",
                              u"pdixtract could not be started: " + result.reason);
            return false;
    }
    return false;
}

}  // namespace zelvorn
