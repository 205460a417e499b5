// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/command_line.h"

#include <gtest/gtest.h>

namespace zelvorn {
namespace {

TEST(ComposeCommandLine, QuotesTargetAndSourceAndAppendsNamesVerbatim) {
    const struct {
        std::u16string_view prefix, target, source, names, expected;
    } rows[] = {
        {u"pdixtract -m ", u"D:\\Out\\", u"D:\\Images\\disc.pdi", u"",
         u"pdixtract -m \"D:\\Out\\\" \"D:\\Images\\disc.pdi\""},
        {u"pdixtract -m ", u"", u"", u"  A", u"pdixtract -m \"\" \"\"  A"},
        {u"pdixtract -i ", u" a\"b ", u"-r", u"", u"pdixtract -i \" a\"b \" \"-r\""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ComposeCommandLine(row.prefix, row.target, row.source, row.names), row.expected);
}

TEST(SplitCommandLine, BlanksSeparateOutsideQuotesOnly) {
    const struct {
        std::u16string_view line;
        std::vector<std::u16string> arguments;
    } rows[] = {
        {u"pdixtract -m \"/my out\" \"/s/a.pdi\" A B",
         {u"pdixtract", u"-m", u"/my out", u"/s/a.pdi", u"A", u"B"}},
        {u"a  \"\" b", {u"a", u"", u"b"}},
        {u"x\"y z\"w", {u"xy zw"}},
        {u"a \"open quote", {u"a", u"open quote"}},
        {u"  ", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SplitCommandLine(row.line), row.arguments) << "row " << (&row - rows);
    }
}

}  // namespace
}  // namespace zelvorn
