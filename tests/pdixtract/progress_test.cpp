// SPDX-License-Identifier: GPL-3.0-or-later
// What a person sees of a run: on a terminal one line that fits, a window title and a
// summary; elsewhere plain lines; and never a raw control character from a file name.
#include <gtest/gtest.h>

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

struct Screen {
    int columns;
    const char* term;
    bool title;
};

class Progress : public ::testing::TestWithParam<Screen> {};

TEST_P(Progress, OnATerminalOneLineThatFitsATitleAndASummary) {
    const Screen& c = GetParam();
    TempDir dir;
    write_members(make_image(files), dir.path(), "disc", 1 << 20);
    RunResult r = run_on_terminal({"-m", "out", "disc.pdi"}, dir.path(), c.columns,
                                  Limits{0, 0, {std::string("TERM=") + c.term}});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_LE(widest_line(r.out), static_cast<std::size_t>(c.columns)) << r.out;
    EXPECT_GT(widest_line(r.out), static_cast<std::size_t>(c.columns) - 5) << r.out;
    EXPECT_EQ(r.out.find("% Extracting disc.pdi \u2013 pdixtract\a") != std::string::npos, c.title);
    EXPECT_EQ(r.out.find("\x1b]") != std::string::npos, c.title);
    EXPECT_NE(r.out.find("Extracted 4 files, 4.00 MiB in "), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Terminals, Progress,
                         ::testing::Values(Screen{80, "xterm", true}, Screen{40, "xterm", true},
                                           Screen{80, "dumb", false}),
                         [](const auto& info) {
                             return std::to_string(info.param.columns) + info.param.term;
                         });

}  // namespace
