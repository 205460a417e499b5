// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/pickers.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvorn {
namespace {

TEST(Pickers, TheChosenSetLosesOnlyLeadingAndTrailingBlanks) {
    EXPECT_EQ(SourceFieldText(u"  D:\\Images\\Disc.pdi   "), u"D:\\Images\\Disc.pdi");
    EXPECT_EQ(SourceFieldText(u"\tx.pdi\n "), u"\tx.pdi\n");
    EXPECT_EQ(SourceFieldText(std::u16string(254, u' ')), u"");
}

TEST(Pickers, ADropFillsOnlyTheFieldItsOneItemFitsWithoutTrailingSlashes) {
    using enum DropTarget;
    using enum PathKind;
    const struct {
        DropTarget target;
        std::vector<PathItem> items;
        std::optional<std::u16string> text;
    } rows[] = {
        {SourceField, {{u"/s/a.pdi", File}}, u"/s/a.pdi"},
        {DestinationField, {{u"/films//", Folder}}, u"/films"},
        {DestinationField, {{u"/", Folder}}, u"/"},
        {DestinationField, {{u"E:\\", Folder}}, u"E:\\"},
        {SourceField, {{u"/films", Folder}}, std::nullopt},
        {DestinationField, {{u"/s/a.pdi", File}}, std::nullopt},
        {SourceField, {{u"/s/a.pdi", File}, {u"/s/b.pdi", File}}, std::nullopt},
        {SourceField, {{}}, std::nullopt},
        {SourceField, {}, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DroppedFieldText(row.target, row.items), row.text) << "row " << (&row - rows);
    }
}

TEST(Pickers, AStartOpensOneFileAndExplainsAnythingElse) {
    using enum PathKind;
    const struct {
        std::vector<PathItem> arguments;
        std::optional<std::u16string> source;
        std::u16string title;
    } rows[] = {
        {{}, std::nullopt, u""},
        {{{u"/s/a.PDI", File}}, u"/s/a.PDI", u""},
        {{{u"/s/gone.pdi", Missing}}, std::nullopt, u"Set not found"},
        {{{u"/films", Folder}}, std::nullopt, u"Not a set"},
        {{{u"/s/a.pdi", File}, {u"/s/b.pdi", File}}, std::nullopt, u"One set at a time"},
    };
    for (const auto& row : rows) {
        const StartDecision start = DecideStart(row.arguments);
        EXPECT_EQ(start.sourcePath, row.source) << "row " << (&row - rows);
        EXPECT_EQ(start.title, row.title) << "row " << (&row - rows);
        // The message names the path it could not open.
        if (row.arguments.size() == 1 && !row.source) {
            EXPECT_NE(start.text.find(row.arguments[0].path), std::u16string::npos);
        }
    }
}

}  // namespace
}  // namespace zelvorn
