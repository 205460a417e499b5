// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvorn {

// How the extractor's window is shown. The values are the classic show-window
// numbers, kept as numbers so callers and tests speak the same language.
enum class WindowStyle : int {
    MinimizedActive = 2,
    MaximizedActive = 3,
    MinimizedInactive = 6,
};

// Joins a command line the way every action does: `prefix` (which ends with a
// blank), the target and the source each in double quotes separated by one
// blank, then `names` verbatim (empty, or starting with its own blank).
// Nothing is trimmed, checked or escaped.
std::u16string ComposeCommandLine(std::u16string_view prefix, std::u16string_view target,
                                  std::u16string_view source, std::u16string_view names = {});

// The list command: "pdixtract -gb ", the list file unquoted, one blank and
// the source in double quotes. Nothing is trimmed, checked or escaped.
std::u16string ComposeListCommandLine(std::u16string_view listFile, std::u16string_view source);

// Splits a composed command line into its argument vector, for platforms
// that start a program with one: blanks outside double quotes separate
// arguments (a run of blanks separates once), a pair of double quotes groups
// what stands between them ("" is an empty argument), and there are no
// escapes. A quote left open runs to the end of the text.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

}  // namespace zelvorn
