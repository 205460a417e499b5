// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_file/list_file_reader.h"

#include <algorithm>

namespace zelvorn {

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

// 1234567 as "1,234,567".
std::u16string Grouped(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, 1, ',');
    return Ascii(digits);
}

}  // namespace

ListItems ReadListItems(std::string_view bytes, DecodeText decode) {
    const std::size_t size = bytes.size();
    ListItems result;
    // One entry a line is the usual shape; spares regrowing the list.
    result.entries.reserve(std::min<std::size_t>(
        static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1,
        kMaxListEntries));
    std::size_t pos = 0;

    // Up to the next comma or line end, or to the line end when `commas` is false.
    auto scan = [&](bool commas) {
        const std::size_t start = pos;
        while (pos < size && !IsLineEnd(bytes[pos]) && !(commas && bytes[pos] == ',')) ++pos;
        return decode(bytes.substr(start, pos - start));
    };

    while (pos < size) {
        while (pos < size && (bytes[pos] == ' ' || bytes[pos] == '\t')) ++pos;
        std::u16string item;
        if (pos < size && bytes[pos] == '"') {
            const std::size_t close = bytes.find('"', pos + 1);
            if (close == std::string_view::npos) {
                // A quote left open would swallow the rest of the file; keep
                // the other lines as entries instead.
                ++pos;
                item = scan(false);
            } else {
                item = decode(bytes.substr(pos + 1, close - pos - 1));
                pos = close + 1;
                item += scan(true);
            }
        } else {
            item = scan(true);
        }
        if (pos < size) {
            if (bytes[pos] == '\r' && pos + 1 < size && bytes[pos + 1] == '\n') ++pos;
            ++pos;
        }
        if (result.entries.size() < kMaxListEntries) {
            if (item.size() > kMaxEntryLength) {
                item.resize(kMaxEntryLength);
                ++result.cut;
            }
            result.entries.push_back(std::move(item));
        } else {
            ++result.leftOut;
        }
    }
    return result;
}

ListFileView ViewOfListFile(const ListFileRead& read, std::u16string_view path, DecodeText decode) {
    ListFileView view;
    const std::u16string file(path);
    switch (read.outcome) {
        case ListFileRead::Outcome::Missing:
            view.notice = u"No list of files: pdixtract has not written " + file + u".";
            return view;
        case ListFileRead::Outcome::Unchanged:
            view.notice = u"No new list of files: pdixtract has not written " + file +
                          u" since it was asked to. Close this window and try again.";
            return view;
        case ListFileRead::Outcome::NotPlainFile:
            view.notice =
                u"The list of files could not be read: " + file + u" is not a plain file of yours.";
            return view;
        case ListFileRead::Outcome::TooLarge:
            view.notice = u"The list of files is larger than " + Grouped(kMaxListFileBytes >> 20) +
                          u" MiB, too large to show.";
            return view;
        case ListFileRead::Outcome::Unreadable:
            view.notice = u"The list of files could not be read: " + read.reason + u".";
            return view;
        case ListFileRead::Outcome::Read:
            break;
    }
    ListItems items = ReadListItems(read.bytes, decode);
    view.entries = std::move(items.entries);
    if (items.leftOut > 0) {
        view.notice = u"Only the first " + Grouped(kMaxListEntries) + u" entries are shown; " +
                      Grouped(items.leftOut) + u" more were left out.";
    }
    if (items.cut > 0) {
        if (!view.notice.empty()) view.notice += u' ';
        view.notice += items.cut == 1
                           ? u"One entry longer than " + Grouped(kMaxEntryLength) +
                                 u" characters is shown cut."
                           : Grouped(items.cut) + u" entries longer than " +
                                 Grouped(kMaxEntryLength) + u" characters are shown cut.";
    }
    return view;
}

std::optional<std::u16string> ListFileIn(std::u16string_view runtimeDir) {
    if (runtimeDir.empty() || runtimeDir.find_first_of(u" \"") != std::u16string_view::npos)
        return std::nullopt;
    std::u16string path(runtimeDir);
    if (path.back() != u'/') path += u'/';
    return path + u"pdilist.txt";
}

}  // namespace zelvorn
