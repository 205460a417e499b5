#include "list_items.h"

#include <QString>
#include <algorithm>

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// The platform's text encoding (UTF-8 here; invalid bytes become U+FFFD).
// The delimiters are ASCII, which never occurs inside a UTF-8 sequence, so
// each item is decoded on its own without a copy of the whole file.
QString Decode(const char* data, qsizetype size) {
    return QString::fromLocal8Bit(QByteArrayView(data, size));
}

}  // namespace

ListItems ReadListItems(const QByteArray& bytes) {
    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    ListItems result;
    // One entry a line is the usual shape; spares regrowing the list.
    result.entries.reserve(std::min<qsizetype>(bytes.count('\n') + 1, kMaxListEntries));
    qsizetype pos = 0;

    // Up to the next comma or line end, or to the line end when `commas` is false.
    auto scan = [&](bool commas) {
        const qsizetype start = pos;
        while (pos < size && !IsLineEnd(data[pos]) && !(commas && data[pos] == ',')) ++pos;
        return Decode(data + start, pos - start);
    };

    while (pos < size) {
        while (pos < size && (data[pos] == ' ' || data[pos] == '\t')) ++pos;
        QString item;
        if (pos < size && data[pos] == '"') {
            const qsizetype close = bytes.indexOf('"', pos + 1);
            if (close < 0) {
                // A quote left open would swallow the rest of the file; keep
                // the other lines as entries instead.
                ++pos;
                item = scan(false);
            } else {
                item = Decode(data + pos + 1, close - pos - 1);
                pos = close + 1;
                item += scan(true);
            }
        } else {
            item = scan(true);
        }
        if (pos < size) {
            if (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n') ++pos;
            ++pos;
        }
        if (result.entries.size() < kMaxListEntries) {
            if (item.size() > kMaxEntryLength) {
                item.truncate(kMaxEntryLength);
                ++result.cut;
            }
            result.entries.append(std::move(item));
        } else {
            ++result.leftOut;
        }
    }
    return result;
}
