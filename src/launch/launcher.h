// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "launch/command_line.h"

namespace zelvorn {

// How a launch went. Only a start that never happened is reported: nobody
// waits for the extractor or learns how it ended.
struct LaunchResult {
    enum class Status { Started, ProgramNotFound, StartFailed };
    Status status = Status::Started;
    // For StartFailed: the platform's reason, fit for a message.
    std::u16string reason;

    bool started() const { return status == Status::Started; }
};

// Starts one composed command line as a separate process and returns at once.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `commandLine` with the given window style; never waits for it.
    virtual LaunchResult launch(std::u16string_view commandLine, WindowStyle style) = 0;
    // The folder searched for the program before PATH (Zelvorn's own, on
    // Windows); empty where PATH alone is searched.
    virtual std::u16string searchedFirst() const { return {}; }
};

}  // namespace zelvorn
