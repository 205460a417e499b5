// SPDX-License-Identifier: GPL-3.0-or-later
// The list reader's promises on any bytes: at most the limit kept, the rest counted, and for
// text without double quotes one item per separator (so none inside an entry) and no blank
// before one.
#include <string_view>

#include "base/utf8.h"
#include "fuzz_checks.h"
#include "list_file/list_file_reader.h"

using namespace zelvorn;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ListItems items = ReadListItems(bytes, base::Utf8ToUtf16);
    Require(items.entries.size() <= kMaxListEntries, "more entries than the limit");
    Require(items.leftOut == 0 || items.entries.size() == kMaxListEntries,
            "items left out before the limit was reached");
    const bool quotes = bytes.find('"') != std::string_view::npos;
    for (const std::u16string& entry : items.entries) {
        Require(entry.size() <= kMaxEntryLength, "an entry longer than the limit");
        Require(quotes || entry.empty() || (entry[0] != u' ' && entry[0] != u'\t'),
                "a blank before an entry");
    }
    // Without quotes: one item per comma or line end (CR LF counts once), plus one for text
    // after the last.
    std::size_t separators = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') ++i;
        separators += bytes[i] == ',' || bytes[i] == '\n' || bytes[i] == '\r';
    }
    const bool tail = size > 0 && bytes.find_last_of(",\r\n") != size - 1;
    Require(quotes || items.entries.size() + items.leftOut == separators + tail,
            "an item count that differs from the separators");
    return 0;
}
