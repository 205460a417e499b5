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
// asked to hold its window open after a failure.
struct ProcessLauncherTest : testing::Test {
    ProcessLauncherTest() {
        dir = fs::temp_directory_path() / ("launcher-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        savedPath = std::getenv("PATH");
        ::setenv("PATH", dir.c_str(), 1);
        write(
            "pdixtract",
            "#!/bin/sh\n{ for a in \"$@\"; do echo \"[$a]\"; done; echo "
            "\"hold=$PDIXTRACT_HOLD_ON_ERROR\"; } > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.rec\"\n");
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

    fs::path dir;
    std::string savedPath;
    ProcessLauncher direct{ProcessLauncher::Terminal::Never};
};

TEST_F(ProcessLauncherTest, StartsTheProgramWithTheSplitArgumentsAndNoShell) {
    ASSERT_TRUE(direct
                    .launch(u"pdixtract -r -m \"/my out\" \"$(touch x); `y` | *\" A.VOB",
                            WindowStyle::MaximizedActive)
                    .started());
    EXPECT_EQ(recorded(),
              (Lines{"[-r]", "[-m]", "[/my out]", "[$(touch x); `y` | *]", "[A.VOB]", "hold="}));
    EXPECT_FALSE(fs::exists(dir / "x"));
    // Detached: never our child, so never our zombie.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

TEST_F(ProcessLauncherTest, ReportsWhatCouldNotStart) {
    const LaunchResult empty = direct.launch(u"  ", WindowStyle::MaximizedActive);
    EXPECT_EQ(empty.status, LaunchResult::Status::StartFailed);
    write("pdixtract", "#!/nonexistent/interpreter\n");
    const LaunchResult refused =
        direct.launch(u"pdixtract -m \"\" \"\"", WindowStyle::MaximizedActive);
    EXPECT_EQ(refused.status, LaunchResult::Status::StartFailed);
    EXPECT_EQ(refused.reason, u"No such file or directory");
    fs::permissions(dir / "pdixtract", fs::perms::owner_read);
    EXPECT_EQ(direct.launch(u"pdixtract", WindowStyle::MaximizedActive).status,
              LaunchResult::Status::ProgramNotFound);
    fs::remove(dir / "pdixtract");
    fs::create_directory(dir / "pdixtract");
    EXPECT_EQ(direct.launch(u"pdixtract", WindowStyle::MaximizedActive).status,
              LaunchResult::Status::ProgramNotFound);
}

TEST_F(ProcessLauncherTest, RunsInItsOwnTerminalOnlyOnAnXDisplay) {
    // A stand-in xterm: runs the program it is given with its own two options first.
    write("xterm", "#!/bin/sh\np=$3 a=$1 b=$2; shift 3; exec \"$p\" \"$a\" \"$b\" \"$@\"\n");
    const struct {
        const char* display;
        WindowStyle style;
        Lines expected;
    } rows[] = {
        {":5", WindowStyle::MinimizedActive, {"[-iconic]", "[-e]", "[-gb]", "hold=1"}},
        {":5", WindowStyle::MaximizedActive, {"[-maximized]", "[-e]", "[-gb]", "hold=1"}},
        {"", WindowStyle::MaximizedActive, {"[-gb]", "hold="}},
    };
    const std::string savedDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    for (const auto& row : rows) {
        fs::remove(dir / "pdixtract.rec");
        ::setenv("DISPLAY", row.display, 1);
        // The user's own setting never reaches the extractor: ours replaces it
        // in a terminal, and without one there is nobody to hold a window for.
        ::setenv("PDIXTRACT_HOLD_ON_ERROR", "9", 1);
        ProcessLauncher launcher;
        EXPECT_TRUE(launcher.launch(u"pdixtract -gb", row.style).started());
        EXPECT_EQ(recorded(), row.expected);
    }
    ::setenv("DISPLAY", savedDisplay.c_str(), 1);
    ::unsetenv("PDIXTRACT_HOLD_ON_ERROR");
}

TEST_F(ProcessLauncherTest, AWatchedStartTellsWhenAndHowItEnded) {
    write("xterm", "#!/bin/sh\nshift 2; exec \"$@\"\n");
    const struct {
        const char* display;
        const char* ending;
        ProcessEnd end;
    } rows[] = {
        {"", "exit 3", {ProcessEnd::How::Exited, 3}},
        {"", "kill -TERM $$", {ProcessEnd::How::Signalled, 15}},
        {":5", "exit 3", {}},  // the terminal keeps the status to itself
    };
    const std::string savedDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    for (const auto& row : rows) {
        ::setenv("DISPLAY", row.display, 1);
        fs::remove(dir / "pdixtract.rec");
        write("pdixtract", std::string("#!/bin/sh\necho \"hold=$PDIXTRACT_HOLD_ON_ERROR\" > "
                                       "\"$0.rec\"\n") +
                               row.ending + "\n");
        ProcessLauncher launcher;
        const LaunchResult started =
            launcher.launchWatched(u"pdixtract", WindowStyle::MinimizedActive);
        ASSERT_TRUE(started.process);
        // Its watcher reports a failure, so no window waits for a key.
        EXPECT_EQ(recorded(), Lines{"hold="});
        std::optional<ProcessEnd> end;
        for (int i = 0; i < 100 && !(end = started.process->ended()); ++i) ::usleep(50000);
        EXPECT_EQ(end, row.end);
    }
    ::setenv("DISPLAY", savedDisplay.c_str(), 1);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // each one reaped
}

}  // namespace
}  // namespace zelvorn
