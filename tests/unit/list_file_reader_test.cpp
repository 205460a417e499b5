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

TEST(ReadListItems, KeepsTheFirst32767EntriesAndCutsThoseLongerThan4096) {
    std::string bytes = std::string(4097, 'x') + "\r\n" + std::string(4096, 'y') + "\r\n";
    for (int i = 2; i < 32767 + 3; ++i) bytes += "F" + std::to_string(i) + " 1\r\n";
    const ListItems items = ReadListItems(bytes, base::Utf8ToUtf16);
    EXPECT_EQ(items.entries.front(), std::u16string(4096, u'x'));
    EXPECT_EQ(items.entries.back(), u"F32766 1");
    EXPECT_EQ(items.cut, 1u);
    EXPECT_EQ(items.leftOut, 3u);
}

TEST(ViewOfListFile, ShowsANewListOnceWholeElseWaitsOrSaysWhyNot) {
    using enum ListFileRead::Outcome;
    using enum ProcessEnd::How;
    const std::optional<ProcessEnd> running;
    const ProcessEnd ended{Exited, 0};
    const std::u16string list = u"/r/pdilist.txt", windows(kWindowsListFile);
    // What the window shows: so many entries, and a notice holding `says`
    // (none if empty); it waits while that says "Waiting".
    const struct {
        ListFileRead read;
        std::optional<ProcessEnd> end;
        bool settled;
        const std::u16string& path;
        std::size_t entries;
        std::u16string_view says;
    } rows[] = {
        // clang-format off
        {{Read, "A 1\r\n", {}, {}}, ended, false, list, 1, u""},
        {{Read, "", {}, {}}, ended, false, list, 0, u""},
        {{Read, "A 1\r\n", {}, {}}, running, true, list, 1, u""},
        // Still running, the list may be half written in place.
        {{Read, "A 1\r\n", {}, {}}, running, false, list, 0, u"Waiting for pdixtract to write the list of files to /r/"},
        {{Unchanged, {}, {}, {}}, running, true, list, 0, u"Waiting"},
        {{Unreadable, {}, u"Sharing violation", {}}, running, false, list, 0, u"Waiting"},
        {{Missing, {}, {}, {}}, ProcessEnd{}, false, list, 0, u"No list of files: pdixtract has ended without writing /r/pdilist.txt."},
        {{Unchanged, {}, {}, {}}, ProcessEnd{Exited, 3}, false, list, 0, u"/r/pdilist.txt: a file of the set is missing or cannot be opened (exit status 3)."},
        // Written in place and cut short, the file is new but no list.
        {{Read, "A 1\r\n", {}, {}}, ProcessEnd{Exited, 6}, true, list, 0, u": it could not write it (exit status 6)."},
        // A standard user on Windows: the cause, and the command that cures it.
        {{Missing, {}, {}, {}}, ProcessEnd{Exited, 6}, false, windows, 0,
         u"Windows lets only administrators create files in C:\\, so the file must be made for you once. An administrator can do that in a "
         u"Command Prompt run as administrator, with this one command:\n\ntype nul >> C:\\pdilist.txt && icacls C:\\pdilist.txt /grant *S-1-5-32-545:M\n"},
        {{Missing, {}, {}, {}}, ProcessEnd{Exited, 2}, false, list, 0, u": it ended with exit status 2."},
        {{Missing, {}, {}, {}}, ProcessEnd{Exited, 0xC000013A}, false, windows, 0, u": it ended with status 0xC000013A."},
        {{Missing, {}, {}, {}}, ProcessEnd{Signalled, 15}, false, list, 0, u": it was stopped (signal 15)."},
        {{NotPlainFile, {}, {}, {}}, ended, false, list, 0, u"The list of files could not be read: /r/pdilist.txt is not a plain file of yours."},
        {{TooLarge, {}, {}, {}}, ended, false, list, 0, u"The list of files is larger than 64 MiB, too large to show."},
        {{Unreadable, {}, u"Permission denied", {}}, ended, false, list, 0, u"The list of files could not be read: Permission denied."},
        {{Read, std::string(32767 + 1233, '\n') + "x", {}, {}}, ended, false, list, 32767, u"Only the first 32,767 entries are shown; 1,234 more were left out."},
        {{Read, std::string(5000, 'x') + "\n" + std::string(5000, 'y'), {}, {}}, ended, false, list, 2, u"2 entries longer than 4,096 characters are shown cut."},
        // clang-format on
    };
    for (const auto& row : rows) {
        const ListFileView view =
            ViewOfListFile({row.read, row.end, row.settled}, row.path, base::Utf8ToUtf16);
        EXPECT_EQ(view.entries.size(), row.entries);
        EXPECT_EQ(view.waiting, row.says.starts_with(u"Waiting"));
        EXPECT_TRUE(view.notice.find(row.says) != std::u16string::npos &&
                    view.notice.empty() == row.says.empty())
            << base::Utf16ToUtf8(view.notice);
    }
}

}  // namespace
}  // namespace zelvorn
