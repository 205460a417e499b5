// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_file/list_file_reader.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace zelvorn {
namespace {

using Entries = std::vector<std::u16string>;

TEST(ReadListItems, ItemsEndAtACommaOrALineEnd) {
    const struct {
        std::string_view bytes;
        Entries entries;
    } rows[] = {
        {"VIDEO_TS.IFO 12288\r\nVTS_01_1.VOB 4096\r\n",
         {u"VIDEO_TS.IFO 12288", u"VTS_01_1.VOB 4096"}},
        {"", {}},
        {"A,B 10\r\n", {u"A", u"B 10"}},
        {"\"A B.TXT 10\"\r\n\"X,Y 1\"\r\n", {u"A B.TXT 10", u"X,Y 1"}},
        {"  \tlead 1 \r\n\r\nlast", {u"lead 1 ", u"", u"last"}},
        {"a,,b\nc\rd\r\n", {u"a", u"", u"b", u"c", u"d"}},
        {"\"two\r\nlines\" 5\r\n\"tail\"x,y", {u"two\r\nlines 5", u"tailx", u"y"}},
        {"\"open quote\r\nnext 1\r\n", {u"open quote", u"next 1"}},
        {"caf\xc3\xa9 1\r\nbad\xff 2", {u"café 1", u"bad\uFFFD 2"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        const ListItems items = ReadListItems(row.bytes, base::Utf8ToUtf16);
        EXPECT_EQ(items.entries, row.entries);
        EXPECT_EQ(items.leftOut + items.cut, 0u);
    }
}

TEST(ReadListItems, KeepsTheFirst32767EntriesAndCutsLongOnes) {
    std::string bytes;
    for (int i = 0; i < 32767 + 3; ++i) bytes += "F" + std::to_string(i) + " 1\r\n";
    ListItems items = ReadListItems(bytes, base::Utf8ToUtf16);
    EXPECT_EQ(items.entries.size(), 32767u);
    EXPECT_EQ(items.entries.back(), u"F32766 1");
    EXPECT_EQ(items.leftOut, 3u);

    items =
        ReadListItems(std::string(4097, 'x') + "\r\n" + std::string(4096, 'y'), base::Utf8ToUtf16);
    EXPECT_EQ(items.entries, (Entries{std::u16string(4096, u'x'), std::u16string(4096, u'y')}));
    EXPECT_EQ(items.cut, 1u);
}

TEST(ViewOfListFile, SaysWhyTheListIsEmptyOrShort) {
    using enum ListFileRead::Outcome;
    const struct {
        ListFileRead read;
        std::size_t entries;
        std::u16string_view notice;  // how it begins
    } rows[] = {
        {{Read, "A 1\r\n", {}}, 1, u""},
        {{Read, "", {}}, 0, u""},
        {{Missing, {}, {}}, 0, u"No list of files: pdixtract has not written /r/pdilist.txt."},
        {{Unchanged, "A 1\r\n", {}}, 0, u"No new list of files: pdixtract has not written /r/"},
        {{NotPlainFile, {}, {}}, 0, u"The list of files could not be read: /r/pdilist.txt is "},
        {{TooLarge, {}, {}}, 0, u"The list of files is larger than 64 MiB, too large to show."},
        {{Unreadable, {}, u"Permission denied"}, 0, u"The list of files could not be read: Perm"},
        {{Read, std::string(32767 + 1233, '\n') + "x", {}},
         32767,
         u"Only the first 32,767 entries are shown; 1,234 more were left out."},
        {{Read, std::string(5000, 'x') + "\n" + std::string(5000, 'y'), {}},
         2,
         u"2 entries longer than 4,096 characters are shown cut."},
    };
    for (const auto& row : rows) {
        const ListFileView view = ViewOfListFile(row.read, u"/r/pdilist.txt", base::Utf8ToUtf16);
        EXPECT_EQ(view.entries.size(), row.entries);
        EXPECT_TRUE(view.notice.starts_with(row.notice) &&
                    view.notice.empty() == row.notice.empty())
            << base::Utf16ToUtf8(view.notice);
    }
}

TEST(ListFileIn, OnlyAFolderTheUnquotedListCommandCanCarry) {
    EXPECT_EQ(ListFileIn(u"/run/user/1000"), u"/run/user/1000/pdilist.txt");
    EXPECT_EQ(ListFileIn(u"/run/user/1000/"), u"/run/user/1000/pdilist.txt");
    EXPECT_EQ(ListFileIn(u""), std::nullopt);
    EXPECT_EQ(ListFileIn(u"/home/a b/run"), std::nullopt);
    EXPECT_EQ(ListFileIn(u"/run/\"x"), std::nullopt);
}

}  // namespace
}  // namespace zelvorn
