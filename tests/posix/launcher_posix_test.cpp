// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/launcher_posix.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zelvorn {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Starts real processes: a stand-in extractor in a private folder that is the
// whole search path, writing one line per argument and then whether it was
// asked to hold its window open after a failure; it fails, with exit status 3
// or, given -stop, by a signal.
struct ProcessLauncherTest : testing::Test {
    ProcessLauncherTest() {
        fs::create_directories(dir);
        ::setenv("PATH", dir.c_str(), 1);
        write("pdixtract",
              "#!/bin/sh\n{ for a in \"$@\"; do echo \"[$a]\"; done; echo "
              "\"hold=$PDIXTRACT_HOLD_ON_ERROR\"; } > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.rec\"\n"
              "[ \"$1\" = -stop ] && kill -TERM $$; exit 3\n");
    }
    ~ProcessLauncherTest() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        fs::remove_all(dir);
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        fs::permissions(dir / name, fs::perms::owner_all);
    }
    // What the stand-in recorded, waiting up to 5 s for it.
    Lines recorded() {
        const fs::path record = dir / "pdixtract.rec";
        for (int i = 0; i < 100 && !fs::exists(record); ++i) ::usleep(50000);
        Lines lines;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    fs::path dir = fs::temp_directory_path() / ("launcher-" + std::to_string(::getpid()));
    std::string savedPath = std::getenv("PATH");
    ProcessLauncher direct{ProcessLauncher::Terminal::Never};
};

TEST_F(ProcessLauncherTest, StartsTheProgramWithTheSplitArgumentsAndNoShell) {
    // Shell text reaches it as it stands, one argument.
    EXPECT_TRUE(
        direct.launch(u"pdixtract -r -m \"/my out\" \"$(touch x); `y` | *\" A.VOB", {}).started());
    EXPECT_EQ(recorded(),
              (Lines{"[-r]", "[-m]", "[/my out]", "[$(touch x); `y` | *]", "[A.VOB]", "hold="}));
    // Detached: never our child, so never our zombie.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

TEST_F(ProcessLauncherTest, ReportsWhatCouldNotStart) {
    using enum LaunchResult::Status;
    const auto status = [this](std::u16string_view line) {
        return direct.launch(line, WindowStyle::MaximizedActive).status;
    };
    EXPECT_EQ(status(u"  "), StartFailed);
    write("pdixtract", "#!/nonexistent/interpreter\n");
    EXPECT_EQ(direct.launch(u"pdixtract", {}).reason, u"No such file or directory");
    fs::permissions(dir / "pdixtract", fs::perms::owner_read);
    EXPECT_EQ(status(u"pdixtract"), ProgramNotFound);
    fs::remove(dir / "pdixtract");
    fs::create_directory(dir / "pdixtract");
    EXPECT_EQ(status(u"pdixtract"), ProgramNotFound);
}

TEST_F(ProcessLauncherTest, RunsInItsOwnTerminalOnlyOnAnXDisplay) {
    // A stand-in xterm: runs the program it is given with its own two options first.
    write("xterm", "#!/bin/sh\np=$3 a=$1 b=$2; shift 3; exec \"$p\" \"$a\" \"$b\" \"$@\"\n");
    using enum WindowStyle;
    using How = ProcessEnd::How;
    const struct {
        const char* display;
        WindowStyle style;
        bool watched;
        std::u16string_view command;
        Lines expected;
        std::optional<ProcessEnd> end;  // watched: how its end is told
    } rows[] = {
        // clang-format off
        {":5", MinimizedActive, false, u"pdixtract -gb", {"[-iconic]", "[-e]", "[-gb]", "hold=1"}, {}},
        {":5", MaximizedActive, false, u"pdixtract -gb", {"[-maximized]", "[-e]", "[-gb]", "hold=1"}, {}},
        {"", MaximizedActive, false, u"pdixtract -gb", {"[-gb]", "hold="}, {}},
        // Watched, its failure is Zelvorn's to report: no window waits for a
        // key, and a terminal keeps the extractor's status to itself.
        {":5", MinimizedActive, true, u"pdixtract -gb", {"[-iconic]", "[-e]", "[-gb]", "hold="}, ProcessEnd{}},
        {"", MinimizedActive, true, u"pdixtract -gb", {"[-gb]", "hold="}, ProcessEnd{How::Exited, 3}},
        {"", MinimizedActive, true, u"pdixtract -stop", {"[-stop]", "hold="}, ProcessEnd{How::Signalled, 15}},
        // clang-format on
    };
    const std::string savedDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    for (const auto& row : rows) {
        fs::remove(dir / "pdixtract.rec");
        ::setenv("DISPLAY", row.display, 1);
        // The user's own setting never reaches the extractor: ours replaces it
        // in a terminal, and without one there is nobody to hold a window for.
        ::setenv("PDIXTRACT_HOLD_ON_ERROR", "9", 1);
        ProcessLauncher launcher;
        const LaunchResult started = row.watched ? launcher.launchWatched(row.command, row.style)
                                                 : launcher.launch(row.command, row.style);
        EXPECT_TRUE(started.started());
        EXPECT_EQ(recorded(), row.expected);
        if (!row.watched) continue;
        std::optional<ProcessEnd> end;
        for (int i = 0; i < 100 && !(end = started.process->ended()); ++i) ::usleep(50000);
        EXPECT_EQ(end, row.end);
    }
    ::setenv("DISPLAY", savedDisplay.c_str(), 1);
    ::unsetenv("PDIXTRACT_HOLD_ON_ERROR");
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // each watched one reaped
}

}  // namespace
}  // namespace zelvorn
