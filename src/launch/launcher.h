// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "launch/command_line.h"

namespace zelvorn {

// How a watched process ended, as far as the platform tells: a terminal
// window between us and the extractor keeps the extractor's status to itself.
struct ProcessEnd {
    enum class How { Exited, Signalled, Unknown };
    How how = How::Unknown;
    std::uint32_t code = 0;  // the exit status, or the signal's number

    friend bool operator==(const ProcessEnd&, const ProcessEnd&) = default;
};

// A started process whose end its starter asks after.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    // Nothing while the process runs, how it ended once it has; never blocks.
    virtual std::optional<ProcessEnd> ended() = 0;
};

// How a launch went. Only a start that never happened is reported; a watched
// launch also hands back the process.
struct LaunchResult {
    enum class Status { Started, ProgramNotFound, StartFailed };
    Status status = Status::Started;
    // For StartFailed: the platform's reason, fit for a message.
    std::u16string reason;
    // For a watched launch that started.
    std::unique_ptr<RunningProcess> process;

    bool started() const { return status == Status::Started; }
};

// Starts one composed command line as a separate process and returns at once.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `commandLine` with the given window style; never waits for it.
    virtual LaunchResult launch(std::u16string_view commandLine, WindowStyle style) = 0;
    // Starts it the same way and hands back the process, whose end the caller
    // watches and reports: its window closes at once after a failure, as
    // nobody needs to read it there.
    virtual LaunchResult launchWatched(std::u16string_view commandLine, WindowStyle style) = 0;
    // The folder searched for the program before PATH (Zelvorn's own, on
    // Windows); empty where PATH alone is searched.
    virtual std::u16string searchedFirst() const { return {}; }
};

}  // namespace zelvorn
