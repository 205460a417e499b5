// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "progress.h"
#include "volume.h"

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

// The list file's bytes for the files without a problem: "NAME SIZE\r\n" each, in order. A name
// with a blank or comma is enclosed in double quotes and its path added to flagged; one with a
// double quote or line break, or one the list file's encoding cannot hold (list_file_name),
// cannot be carried at all, so it is left out and its path added to dropped.
std::string format_list(const std::vector<ImageFile>& files, std::vector<std::string>& flagged,
                        std::vector<std::string>& dropped);

// -gb: writes the list file. Throws Error.
void run_list(const Options& opts, const Console& con);

// -m: extracts all or the named files; every file that can be read is extracted, each that
// cannot is reported. Throws Error when anything failed or was left out.
void run_extract(const Options& opts, const Console& con);

// -i: writes the set's bytes to one ISO file. Throws Error.
void run_convert(const Options& opts, const Console& con);

// Runs a parsed command, reporting any failure as one line on con.err; returns the exit status.
int run(const Options& opts, const Console& con);

}  // namespace pdix
