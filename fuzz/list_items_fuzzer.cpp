#include <QString>

#include "fuzz_checks.h"
#include "list_items.h"

namespace {

bool IsSeparator(char c) {
    return c == ',' || c == '\n' || c == '\r';
}

// Items in text without double quotes, counted independently of the reader:
// one per comma or line end (CR LF counts once), plus one for any text after
// the last of them.
qsizetype CountUnquotedItems(const QByteArray& bytes) {
    qsizetype count = 0;
    qsizetype tail = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (!IsSeparator(bytes[i])) {
            ++tail;
            continue;
        }
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        ++count;
        tail = 0;
    }
    return count + (tail > 0 ? 1 : 0);
}

}  // namespace

const char* CheckListItems(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ListItems items = ReadListItems(bytes);
    if (items.entries.size() > kMaxListEntries) return "more entries than the limit";
    if (items.leftOut < 0) return "a negative count of left-out items";
    if (items.leftOut > 0 && items.entries.size() != kMaxListEntries)
        return "items left out before the limit was reached";
    if (items.cut < 0 || items.cut > items.entries.size()) return "a wrong count of cut entries";
    for (const QString& entry : items.entries) {
        if (entry.size() > kMaxEntryLength) return "an entry longer than the limit";
    }
    if (bytes.contains('"')) return nullptr;

    if (items.entries.size() + items.leftOut != CountUnquotedItems(bytes))
        return "an item count that differs from the separators";
    for (const QString& entry : items.entries) {
        if (entry.contains(u',') || entry.contains(u'\n') || entry.contains(u'\r'))
            return "a separator inside an entry";
        if (entry.startsWith(u' ') || entry.startsWith(u'\t')) return "a blank before an entry";
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
