#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "image_reader.h"

namespace pdix {

// One parsed command line.
struct Options {
    enum class Mode { none, help, extract, convert, list };
    Mode mode = Mode::none;
    bool remove_members = false;  // -r
    bool video_ts = false;        // -v
    std::string target;           // DEST, ISO or LIST
    std::string set;              // any member of the set
    std::vector<std::string> names;
};

// Parses argv. Throws Error (usage) on unknown options, missing or surplus arguments.
Options parse_args(int argc, const char* const* argv);

// The --help text: commands, the set convention and the exit codes.
std::string usage_text();

// Where a command writes progress and warnings; live means progress may redraw one line.
struct Console {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool live = false;
};

// The list file's bytes for files: "NAME SIZE\r\n" each, in order. An entry whose name has a
// blank or comma is enclosed in double quotes and its path added to flagged; one with a double
// quote or line break cannot be carried at all, so it is left out and its path added to dropped.
std::string format_list(const std::vector<ImageFile>& files, std::vector<std::string>& flagged,
                        std::vector<std::string>& dropped);

// -gb: writes the list file. Throws Error.
void run_list(const Options& opts, const Console& con);

// -m: extracts all or the named files. Throws Error.
void run_extract(const Options& opts, const Console& con);

// -i: writes the image to one ISO file. Throws Error.
void run_convert(const Options& opts, const Console& con);

// Runs a parsed command, reporting any failure as one line on con.err; returns the exit status.
int run(const Options& opts, const Console& con);

}  // namespace pdix
