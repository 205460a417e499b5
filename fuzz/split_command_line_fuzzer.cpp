// SPDX-License-Identifier: GPL-3.0-or-later
// Any text split as a command line; then a line composed of fields cut out of it, each of
// which must come back as exactly one argument.
#include <algorithm>
#include <string_view>

#include "base/utf8.h"
#include "fuzz_checks.h"
#include "launch/command_line.h"

using namespace zelvorn;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text =
        base::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
    // Any text: the arguments hold no double quote and nothing the text did not.
    std::u16string all;
    for (const std::u16string& argument : SplitCommandLine(text)) all += argument;
    Require(all.size() <= text.size() && all.find(u'"') == all.npos, "an argument made up");

    // Fields as a user could type them (cut at U+001F, quotes taken out) each arrive whole:
    // blanks, shell characters, a leading '-', anything.
    std::vector<std::u16string> fields(1);
    for (const char16_t c : text) {
        if (c == u'\x1f') fields.emplace_back();
        if (c != u'\x1f' && c != u'"') fields.back() += c;
    }
    fields.resize(std::max<std::size_t>(fields.size(), 2));
    std::vector<std::u16string> expected{u"pdixtract", u"-r", u"-m", fields[0], fields[1]};
    std::u16string names;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        // Names are unquoted, so only blank-free, non-empty ones stay whole.
        if (fields[i].empty() || fields[i].find(u' ') != std::u16string::npos) continue;
        names += u' ' + fields[i];
        expected.push_back(fields[i]);
    }
    Require(SplitCommandLine(
                ComposeCommandLine(u"pdixtract -r -m ", fields[0], fields[1], names)) == expected,
            "a composed field did not come back whole");
    return 0;
}
