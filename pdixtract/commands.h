// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "pdixtract/progress.h"
#include "pdixtract/volume.h"

namespace pdixtract {

// One parsed command line.
struct Options {
    enum class Mode { None, Help, Extract, Convert, List };
    Mode mode = Mode::None;
    bool removeMembers = false;  // -r
    bool videoTs = false;        // -v
    std::string target;          // DEST, ISO or LIST
    std::string set;             // any member of the set
    std::vector<std::string> names;
};

// Parses argv. Throws Failure (usage) on unknown options, missing or surplus arguments.
Options ParseArgs(int argc, const char* const* argv);

// The --help text: commands, the set convention and the exit codes.
std::string UsageText();

// The list file's bytes for the files without a problem: "NAME SIZE\r\n" each, in order. A name
// with a blank or comma is enclosed in double quotes and its path added to flagged; one with a
// double quote or line break, or one the list file's encoding cannot hold (ListFileName),
// cannot be carried at all, so it is left out and its path added to dropped.
std::string FormatList(const std::vector<ImageFile>& files, std::vector<std::string>& flagged,
                       std::vector<std::string>& dropped);

// -gb: writes the list file. Throws Failure.
void RunList(const Options& options, const Console& console);

// -m: extracts all or the named files; every file that can be read is extracted, each that
// cannot is reported. Throws Failure when anything failed or was left out.
void RunExtract(const Options& options, const Console& console);

// -i: writes the set's bytes to one ISO file. Throws Failure.
void RunConvert(const Options& options, const Console& console);

// Runs a parsed command, reporting any failure as one line on console.err; returns the exit status.
int Run(const Options& options, const Console& console);

}  // namespace pdixtract
