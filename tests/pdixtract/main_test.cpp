// SPDX-License-Identifier: GPL-3.0-or-later
// In a terminal window of its own (PDIXTRACT_HOLD_ON_ERROR set, standard input a
// terminal), a failing pdixtract waits for Enter with its last progress line and its
// message in view; anywhere else it ends at once.
#include <gtest/gtest.h>

#include "test_support.h"

using namespace pdix_test;

namespace {

const std::vector<std::string> hold = {"PDIXTRACT_HOLD_ON_ERROR=1", "TERM=xterm"};

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

INSTANTIATE_TEST_SUITE_P(
    Cases, HoldOnError,
    ::testing::Values(Hold{"UsageError", {"-q"}, Limits{0, 0, hold}, true, 2},
                      Hold{"DiskFull", {"-m", "out", "disc.pdi"}, Limits{100000, 0, hold}, true, 6},
                      Hold{"Success", {"--help"}, Limits{0, 0, hold}, true, 0},
                      Hold{"NotAsked", {"-q"}, Limits{}, true, 2},
                      Hold{"NoTerminalToAnswer", {"-q"}, Limits{0, 0, hold}, false, 2}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
