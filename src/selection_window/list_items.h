#pragma once

#include <QByteArray>
#include <QStringList>

// The list holds at most this many entries (its count is a 16-bit number).
inline constexpr qsizetype kMaxListEntries = 32767;

// The largest list file the window reads. pdixtract's lists of 32,767 entries
// stay far below it (names are at most 255 bytes); a larger file is no list.
inline constexpr qsizetype kMaxListFileBytes = qsizetype(64) << 20;

// The longest entry kept whole. A file name has at most 255 bytes, so only a
// damaged list reaches it; a line of megabytes would freeze the list while it
// is measured and could never be passed to pdixtract anyway.
inline constexpr qsizetype kMaxEntryLength = 4096;

// The entries read from a list file, how many items beyond the limit were
// left out, and how many entries were cut to kMaxEntryLength.
struct ListItems {
    QStringList entries;
    qsizetype leftOut = 0;
    qsizetype cut = 0;
};

// Reads the list file's bytes, decoded in the platform's text encoding (UTF-8
// here; bytes that do not decode show as U+FFFD), as items in file order:
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
ListItems ReadListItems(const QByteArray& bytes);
