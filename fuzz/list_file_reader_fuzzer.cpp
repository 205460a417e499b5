// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <string_view>

#include "extractor/utf8.h"
#include "fuzz_checks.h"
#include "selection_window/list_file_reader.h"

using namespace zelvorn;

const char* CheckListItems(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ListItems items = ReadListItems(bytes, Utf8ToUtf16);
    if (items.entries.size() > kMaxListEntries) return "more entries than the limit";
    if (items.leftOut > 0 && items.entries.size() != kMaxListEntries)
        return "items left out before the limit was reached";
    if (items.cut > items.entries.size()) return "a wrong count of cut entries";
    for (const std::u16string& entry : items.entries) {
        if (entry.size() > kMaxEntryLength) return "an entry longer than the limit";
    }
    if (bytes.find('"') != std::string_view::npos) return nullptr;

    // Without quotes: one item per comma or line end (CR LF counts once), plus
    // one for text after the last, and no separator inside an item.
    std::size_t separators = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') ++i;
        if (bytes[i] == ',' || bytes[i] == '\n' || bytes[i] == '\r') ++separators;
    }
    const bool tail = size > 0 && bytes.find_last_of(",\r\n") != size - 1;
    if (items.entries.size() + items.leftOut != separators + (tail ? 1 : 0))
        return "an item count that differs from the separators";
    for (const std::u16string& entry : items.entries) {
        if (entry.find_first_of(u",\r\n") != std::u16string::npos) return "a separator inside an entry";
        if (!entry.empty() && (entry[0] == u' ' || entry[0] == u'\t')) return "a blank before an entry";
    }
    return nullptr;
}

#ifdef ZELVORN_FUZZER
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* problem = CheckListItems(data, size)) {
        std::fprintf(stderr, "ReadListItems: %s\n", problem);
        std::abort();
    }
    return 0;
}
#endif
