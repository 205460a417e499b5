// SPDX-License-Identifier: GPL-3.0-or-later
// In a terminal window of its own (PDIXTRACT_HOLD_ON_ERROR set, standard input a
// terminal), a failing pdixtract waits for Enter with its last progress line and its
// message in view; anywhere else it ends at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

using namespace pdix_test;

namespace {

struct Hold {
    const char* label;
    std::vector<std::string> args;
    Limits limits;
    bool stdin_terminal;
    bool prompts;
    int status;
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
    std::size_t prompt = r.out.find("Press Enter to close this window.");
    EXPECT_EQ(prompt != std::string::npos, c.prompts) << r.out;
    if (c.prompts) {
        std::size_t error = r.out.find("pdixtract: ");
        EXPECT_LT(error, prompt) << r.out;
        if (c.args[0] == "-m") {
            EXPECT_LT(r.out.find(" of "), error) << "the last progress line stays: " << r.out;
        }
    }
}

const Limits hold{0, 0, {"PDIXTRACT_HOLD_ON_ERROR=1", "TERM=xterm"}};

INSTANTIATE_TEST_SUITE_P(
    Cases, HoldOnError,
    ::testing::Values(
        Hold{"UsageError", {"-q"}, hold, true, true, 2},
        Hold{"DiskFull", {"-m", "out", "disc.pdi"}, Limits{100000, 0, hold.env}, true, true, 6},
        Hold{"Success", {"-m", "out", "disc.pdi"}, hold, true, false, 0},
        Hold{"NotAsked", {"-q"}, Limits{}, true, false, 2},
        Hold{"NoTerminalToAnswer", {"-q"}, hold, false, false, 2}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
