#include "list_items.h"

#include <QString>

namespace {

bool IsLineEnd(QChar c) {
    return c == u'\n' || c == u'\r';
}

}  // namespace

ListItems ReadListItems(const QByteArray& bytes) {
    const QString text = QString::fromLocal8Bit(bytes);
    const qsizetype size = text.size();
    ListItems result;
    qsizetype pos = 0;

    // Up to the next comma or line end, or to the line end when `commas` is false.
    auto scan = [&](bool commas) {
        const qsizetype start = pos;
        while (pos < size && !IsLineEnd(text[pos]) && !(commas && text[pos] == u',')) ++pos;
        return QStringView(text).sliced(start, pos - start);
    };

    while (pos < size) {
        while (pos < size && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
        QString item;
        if (pos < size && text[pos] == u'"') {
            const qsizetype close = text.indexOf(u'"', pos + 1);
            if (close < 0) {
                // A quote left open would swallow the rest of the file; keep
                // the other lines as entries instead.
                ++pos;
                item = scan(false).toString();
            } else {
                item = text.sliced(pos + 1, close - pos - 1);
                pos = close + 1;
                item += scan(true);
            }
        } else {
            item = scan(true).toString();
        }
        if (pos < size) {
            if (text[pos] == u'\r' && pos + 1 < size && text[pos + 1] == u'\n') ++pos;
            ++pos;
        }
        if (result.entries.size() < kMaxListEntries) {
            result.entries.append(item);
        } else {
            ++result.leftOut;
        }
    }
    return result;
}
