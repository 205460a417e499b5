#pragma once

#include "dialogs.h"
#include "launcher.h"

// Starts `commandLine`; when the extractor could not be started, tells the
// user why and returns false, so the action can stop there.
bool LaunchOrReport(Launcher& launcher, Dialogs& dialogs, const QString& commandLine,
                    WindowStyle style);
