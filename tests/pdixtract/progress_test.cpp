// SPDX-License-Identifier: GPL-3.0-or-later
// What a person sees of a run: on a terminal one line that fits, a window title and a
// summary; elsewhere plain lines; and never a raw control character from a file name.
#include <gtest/gtest.h>

#include <tuple>

#include "test_support.h"

using namespace pdix_test;

namespace {

// Every name printed in full would be wider than any terminal; two try to steer it.
const Tree files = {{"VIDEO_TS/VTS_01_1.VOB", random_bytes(4 << 20, 1)},
                    {"EXTRA/" + std::string(200, 'L') + ".TXT", "long"},
                    {"EXTRA/\x1b]2;pwned\x07.txt", "title"},
                    {"EXTRA/\x1b[2J.txt", "clear"}};

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
    write_members(make_image(files), dir.path(), "disc", 1 << 20);
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

}  // namespace
