// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/launcher.h"

namespace zelvorn {

// The list holds at most this many entries (its count is a 16-bit number).
inline constexpr std::size_t kMaxListEntries = 32767;

// The largest list file the window reads. pdixtract's lists of 32,767 entries
// stay far below it (names are at most 255 bytes); a larger file is no list.
inline constexpr std::uint64_t kMaxListFileBytes = std::uint64_t(64) << 20;

// The longest entry kept whole. A file name has at most 255 bytes, so only a
// damaged list reaches it; a line of megabytes would freeze the list while it
// is measured and could never be passed to pdixtract anyway.
inline constexpr std::size_t kMaxEntryLength = 4096;

// Turns bytes of the list file into text: the platform's own encoding (UTF-8
// on Linux, the ANSI code page on Windows). Bytes that do not decode become
// U+FFFD.
using DecodeText = std::u16string (*)(std::string_view bytes);

// The entries read from a list file, how many items beyond the limit were
// left out, and how many entries were cut to kMaxEntryLength.
struct ListItems {
    std::vector<std::u16string> entries;
    std::size_t leftOut = 0;
    std::size_t cut = 0;
};

// Reads the list file's bytes as items in file order, each decoded on its own
// (the delimiters are ASCII, which no multi-byte character contains):
// - blanks and tabs before an item are skipped;
// - an item opening with a double quote runs to the next double quote, line
//   ends and commas included, without the quotes; text after the closing
//   quote up to the comma or line end is kept, appended. With no closing quote
//   anywhere, the item is the rest of its line;
// - any other item runs to the next comma or line end, blanks kept;
// - the comma or line end (CR LF, LF or a lone CR) that ends an item is
//   consumed; the end of the file after the last line end gives no item, an
//   empty line or nothing between two commas gives an empty item.
// The first kMaxListEntries items are kept; the rest are only counted. An
// item longer than kMaxEntryLength characters is cut to that length.
ListItems ReadListItems(std::string_view bytes, DecodeText decode);

// What the list file was like at one moment: absent, or which file with which
// size and modification time. Taken before the list command starts, it tells
// the window whether the extractor has written a new list since.
struct ListFileStamp {
    bool present = false;
    std::uint64_t volume = 0;  // device, or volume serial number
    std::uint64_t file = 0;    // inode, or file index
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the platform's finest unit

    friend bool operator==(const ListFileStamp&, const ListFileStamp&) = default;
};

// The platform's list file, and how to stamp it before the list command.
struct ListFileLocation {
    std::u16string path;  // empty: no usable private folder
    ListFileStamp (*stamp)(const std::u16string& path);
};

// What reading the list file found, and the stamp of the file it found.
struct ListFileRead {
    enum class Outcome {
        Read,          // `bytes` holds the whole file
        Missing,       // no file at the path
        Unchanged,     // the same file as before the list command: no new list
        NotPlainFile,  // a link, folder, pipe, device, or someone else's file
        TooLarge,      // more than kMaxListFileBytes
        Unreadable,    // opening or reading failed; `reason` says why
    };
    Outcome outcome = Outcome::Missing;
    std::string bytes;
    std::u16string reason;
    ListFileStamp stamp;
};

// What the file selection window waits for: the list file, what it was like
// before the list command started, and that command's process (null when
// nobody can tell whether it still runs).
struct ListRequest {
    std::u16string path;
    ListFileStamp before;
    std::unique_ptr<RunningProcess> extractor;
};

// One look at the list: the file as it is now, how the list command ended
// (nothing while it runs), and whether the file is the same as at the look
// before, so a list still being written in place is not taken whole.
struct ListLook {
    ListFileRead read;
    std::optional<ProcessEnd> ended;
    bool settled = false;
};

// What the file selection window shows: its entries, a notice (empty when
// there is nothing to say), and whether it waits for the list to come.
struct ListFileView {
    std::vector<std::u16string> entries;
    std::u16string notice;
    bool waiting = false;

    // With nothing to list, the notice takes the list's place, where a long
    // one fits and can be selected and copied.
    bool noticeInListsPlace() const { return entries.empty() && !notice.empty(); }
};

// Turns a look at the list file at `path` into the window's entries and
// notice. A new list is shown once the list command has ended or the list has
// settled, with a notice when entries were left out or cut; never when the
// command ended saying it could not write it. Until then the
// window waits and says so. Once the command has ended without a new list,
// the notice says why, as far as its end tells; on Windows, when it could not
// write the list file, with the cause and the cure.
ListFileView ViewOfListFile(const ListLook& look, std::u16string_view path, DecodeText decode);

// Where the extractor writes the list of a set's files on Windows; the list
// command carries it as it stands.
inline constexpr std::u16string_view kWindowsListFile = u"C:\\pdilist.txt";

// The list file inside the private folder `runtimeDir`, or nothing when there
// is no such folder or its path holds a blank or a double quote, which the
// unquoted path in the list command could not carry.
std::optional<std::u16string> ListFileIn(std::u16string_view runtimeDir);

}  // namespace zelvorn
