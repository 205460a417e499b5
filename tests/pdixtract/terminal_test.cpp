// SPDX-License-Identifier: GPL-3.0-or-later
// What a person sees of a run on a terminal: one line that fits, a window title and a
// summary, never a raw control character from a file name; and after a failure in a window
// of its own, the message stays until Enter is pressed.
#include "test_support.h"

namespace pdixtract {

namespace {

struct Shown {
    const char* label;
    std::vector<std::string> args;
    int columns;
    std::vector<std::string> env;  // TERM, and whether the window is held on an error
    std::uint64_t fileSize = 0;    // beyond it a write fails, as on a full disk
    bool stdinTerminal = true;     // or /dev/null
    int status = 0;
    friend void PrintTo(const Shown& c, std::ostream* os) { *os << c.label; }
};

// Characters in the widest redrawn line ("\r" ... "\x1b[K"); UTF-8 continuation bytes take
// no column.
std::size_t WidestLine(const std::string& shown) {
    const auto column = [](char c) { return (c & 0xC0) != 0x80; };
    std::size_t widest = 0;
    for (std::size_t end = 0; (end = shown.find("\x1b[K", end + 1)) != std::string::npos;) {
        const std::size_t start = shown.rfind('\r', end) + 1;
        widest = std::max<std::size_t>(widest, std::count_if(&shown[start], &shown[end], column));
    }
    return widest;
}

class OnATerminal : public ::testing::TestWithParam<Shown> {};

// Extracting fills one line that fits, and shows a title unless TERM is dumb; it waits for
// Enter only after a failure, held, with input from the terminal, the last progress line and
// the message still in view.
TEST_P(OnATerminal, OneLineThatFitsATitleASummaryAndAMessageThatStays) {
    const Shown& c = GetParam();
    TempDir dir;
    // Every name printed in full would be wider than any terminal; two try to steer it.
    WriteMembers(MakeImage({{"VIDEO_TS/VTS_01_1.VOB", RandomBytes(4 << 20, 1)},
                            {"EXTRA/" + std::string(200, 'L') + ".TXT", "long"},
                            {"EXTRA/\x1b]2;pwned\x07.txt", "title"},
                            {"EXTRA/\x1b[2J.txt", "clear"}}),
                 dir.path, 1 << 20);
    // Run under script(1), whose output is all the terminal showed. Where it is to wait, an
    // Enter is typed ahead; elsewhere the terminal's input ends, which ends a wait at once.
    const bool held = c.status != 0 && c.stdinTerminal && c.env.size() > 1;
    std::string shell = "stty cols " + std::to_string(c.columns) + " rows 24; exec " PDIXTRACT_EXE;
    for (const std::string& a : c.args) shell += " '" + a + "'";
    if (!c.stdinTerminal) shell += " </dev/null";
    const RunResult r = RunPdixtract({"-qfec", shell, "/dev/null"}, dir.path,
                                     Limits{c.fileSize, 0, c.env, held ? "\n" : "", "script"});
    EXPECT_EQ(r.status, c.status) << r.out;
    const std::size_t widest = WidestLine(r.out), columns = static_cast<std::size_t>(c.columns);
    EXPECT_LE(widest, columns) << r.out;
    std::size_t error = r.out.find("pdixtract: "), prompt = r.out.find("Press Enter to close");
    EXPECT_EQ(prompt != std::string::npos, held) << r.out;
    EXPECT_TRUE(!held || error < prompt) << r.out;
    if (c.args[0] != "-m") return;
    EXPECT_LT(r.out.find(" of "), error) << "the progress line stays: " << r.out;
    EXPECT_GT(widest, columns - 5) << r.out;
    const bool title = c.env[0] != "TERM=dumb";
    EXPECT_EQ(r.out.find("% Extracting disc.pdi \u2013 pdixtract\a") != std::string::npos, title);
    EXPECT_EQ(r.out.find("\x1b]") != std::string::npos, title) << r.out;
    EXPECT_EQ(r.out.find("Extracted 4 files, 4.00 MiB in ") != std::string::npos, c.status == 0);
}

const std::vector<std::string> kExtract = {"-m", "out", "disc.pdi"}, kXterm = {"TERM=xterm"},
                               kHeld = {"TERM=xterm", "PDIXTRACT_HOLD_ON_ERROR=1"};
INSTANTIATE_TEST_SUITE_P(
    Runs, OnATerminal,
    ::testing::Values(Shown{"Xterm80", kExtract, 80, kXterm},
                      Shown{"Xterm40", kExtract, 40, kXterm},
                      Shown{"Dumb80", kExtract, 80, {"TERM=dumb"}},
                      Shown{"HeldAfterUsageError", {"-q"}, 80, kHeld, 0, true, 2},
                      Shown{"HeldAfterDiskFull", kExtract, 80, kHeld, 100000, true, 6},
                      Shown{"NotHeldAfterSuccess", {"--help"}, 80, kHeld},
                      Shown{"NotAsked", {"-q"}, 80, kXterm, 0, true, 2},
                      Shown{"NoTerminalToAnswer", {"-q"}, 80, kHeld, 0, false, 2}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

}  // namespace pdixtract
