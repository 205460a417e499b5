// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "extractor/launcher.h"
#include "jobs/dialogs.h"

namespace zelvorn {

// Starts `commandLine`; when the extractor could not be started, tells the
// user why and returns false, so the action can stop there.
bool LaunchOrReport(Launcher& launcher, Dialogs& dialogs, std::u16string_view commandLine,
                    WindowStyle style);

}  // namespace zelvorn
