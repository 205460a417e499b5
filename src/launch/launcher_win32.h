// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launch/launcher.h"

namespace zelvorn {

// The launcher of the real program: hands the whole command line to
// CreateProcessW, which finds the program word as Windows always does (the
// program's own folder, the current folder, the system folders, then PATH),
// and starts it in a console window of its own, shown with the style. A
// watched start keeps the process handle, which tells when and how it ended.
class ProcessLauncher : public Launcher {
public:
    LaunchResult launch(std::u16string_view commandLine, WindowStyle style) override;
    LaunchResult launchWatched(std::u16string_view commandLine, WindowStyle style) override;
    // The folder Zelvorn.exe lies in.
    std::u16string searchedFirst() const override;
};

}  // namespace zelvorn
