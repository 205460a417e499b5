#include "launch_or_report.h"

bool LaunchOrReport(Launcher& launcher, Dialogs& dialogs, const QString& commandLine,
                    WindowStyle style) {
    const LaunchResult result = launcher.launch(commandLine, style);
    switch (result.status) {
        case LaunchResult::Status::Started:
            return true;
        case LaunchResult::Status::ProgramNotFound:
            dialogs.showError(
                QStringLiteral("pdixtract not found"),
                QStringLiteral("pdixtract could not be found on the search path (PATH), so "
                               "nothing was started.\n\nInstall pdixtract or add its folder to "
                               "PATH, then try again."));
            return false;
        case LaunchResult::Status::StartFailed:
            dialogs.showError(
                QStringLiteral("pdixtract could not be started"),
                QStringLiteral("pdixtract could not be started: %1").arg(result.reason));
            return false;
    }
    return false;
}
