// SPDX-License-Identifier: GPL-3.0-or-later
// What a person sees of a run on a terminal: one line that fits, a window title and a
// summary, never a raw control character from a file name; and after a failure in a window
// of its own, the message stays until Enter is pressed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <tuple>

#include "test_support.h"

using namespace pdix_test;

namespace {

// Runs pdixtract under script(1) on a terminal of columns x 24 that has an Enter typed
// ahead (stdin is /dev/null instead unless stdin_terminal); out is all the terminal showed.
RunResult run_on_terminal(const std::vector<std::string>& args, const fs::path& cwd, int columns,
                          const Limits& limits, bool stdin_terminal = true) {
    std::string inner = "stty cols " + std::to_string(columns) + " rows 24; trap '' XFSZ; ";
    if (limits.file_size > 0)
        inner += "ulimit -f " + std::to_string(limits.file_size / 1024) + "; ";
    inner += std::string("exec ") + PDIXTRACT_EXE;
    for (const std::string& a : args) inner += " '" + a + "'";
    if (!stdin_terminal) inner += " </dev/null";
    std::string command = "cd '" + cwd.string() + "' && printf '\\n' | env";
    for (const std::string& e : limits.env) command += " '" + e + "'";
    command += " timeout 30 script -qfec \"" + inner + "\" /dev/null";
    RunResult r;
    FILE* p = ::popen(command.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Characters in the widest redrawn line ("\r" ... "\x1b[K").
std::size_t widest_line(const std::string& shown) {
    std::size_t widest = 0;
    for (std::size_t end = shown.find("\x1b[K"); end != std::string::npos;
         end = shown.find("\x1b[K", end + 1)) {
        std::size_t width = 0;
        for (std::size_t i = shown.rfind('\r', end) + 1; i < end; ++i)
            width += (shown[i] & 0xC0) != 0x80;
        widest = std::max(widest, width);
    }
    return widest;
}

// A terminal's width and TERM.
class Progress : public ::testing::TestWithParam<std::tuple<int, std::string>> {};

TEST_P(Progress, OnATerminalOneLineThatFitsATitleAndASummary) {
    const auto& [columns, term] = GetParam();
    const bool title = term != "dumb";
    TempDir dir;
    // Every name printed in full would be wider than any terminal; two try to steer it.
    write_members(make_image({{"VIDEO_TS/VTS_01_1.VOB", random_bytes(4 << 20, 1)},
                              {"EXTRA/" + std::string(200, 'L') + ".TXT", "long"},
                              {"EXTRA/\x1b]2;pwned\x07.txt", "title"},
                              {"EXTRA/\x1b[2J.txt", "clear"}}),
                  dir.path(), "disc", 1 << 20);
    RunResult r = run_on_terminal({"-m", "out", "disc.pdi"}, dir.path(), columns,
                                  Limits{0, 0, {"TERM=" + term}});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_LE(widest_line(r.out), static_cast<std::size_t>(columns)) << r.out;
    EXPECT_GT(widest_line(r.out), static_cast<std::size_t>(columns) - 5) << r.out;
    EXPECT_EQ(r.out.find("% Extracting disc.pdi \u2013 pdixtract\a") != std::string::npos, title);
    EXPECT_EQ(r.out.find("\x1b]") != std::string::npos, title);
    EXPECT_NE(r.out.find("Extracted 4 files, 4.00 MiB in "), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Terminals, Progress,
                         ::testing::Values(std::tuple(80, "xterm"), std::tuple(40, "xterm"),
                                           std::tuple(80, "dumb")),
                         [](const auto& info) {
                             return std::get<1>(info.param) +
                                    std::to_string(std::get<0>(info.param));
                         });

struct Hold {
    const char* label;
    std::vector<std::string> args;
    Limits limits;
    bool stdin_terminal;
    int status;  // and whether it waits: only after a failure, held, on a terminal
};

void PrintTo(const Hold& c, std::ostream* os) {
    *os << c.label;
}

class HoldOnError : public ::testing::TestWithParam<Hold> {};

TEST_P(HoldOnError, WaitsForEnterOnlyAfterAFailureInItsOwnTerminal) {
    const Hold& c = GetParam();
    TempDir dir;
    write_members(make_image({{"A.TXT", "a"}, {"B.TXT", random_bytes(300000, 1)}}), dir.path(),
                  "disc", 1 << 20);
    RunResult r = run_on_terminal(c.args, dir.path(), 80, c.limits, c.stdin_terminal);
    EXPECT_EQ(r.status, c.status) << r.out;
    bool prompts = c.status != 0 && c.stdin_terminal && !c.limits.env.empty();
    std::size_t error = r.out.find("pdixtract: "), prompt = r.out.find("Press Enter to close");
    EXPECT_EQ(prompt != std::string::npos, prompts) << r.out;
    EXPECT_TRUE(!prompts || error < prompt) << r.out;
    EXPECT_TRUE(c.args[0] != "-m" || r.out.find(" of ") < error) << "the progress line stays";
}

const std::vector<std::string> hold = {"PDIXTRACT_HOLD_ON_ERROR=1", "TERM=xterm"};
INSTANTIATE_TEST_SUITE_P(
    Cases, HoldOnError,
    ::testing::Values(Hold{"UsageError", {"-q"}, Limits{0, 0, hold}, true, 2},
                      Hold{"DiskFull", {"-m", "out", "disc.pdi"}, Limits{100000, 0, hold}, true, 6},
                      Hold{"Success", {"--help"}, Limits{0, 0, hold}, true, 0},
                      Hold{"NotAsked", {"-q"}, Limits{}, true, 2},
                      Hold{"NoTerminalToAnswer", {"-q"}, Limits{0, 0, hold}, false, 2}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
