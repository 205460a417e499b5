// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_file/list_file_reader.h"

#include <algorithm>
#include <cstdio>

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

// pdixtract's exit status when it could not write its output.
constexpr std::uint32_t kListNotWritten = 6;

// What a list command that ended without writing the list tells about why.
std::u16string NoListNotice(const ProcessEnd& end, const std::u16string& file) {
    const std::u16string head = u"No list of files: pdixtract has ended without writing " + file;
    const std::u16string status = Ascii(std::to_string(end.code));
    if (end.how == ProcessEnd::How::Unknown) return head + u".";
    if (end.how == ProcessEnd::How::Signalled)
        return head + u": it was stopped (signal " + status + u").";
    switch (end.code) {
        case 3:
            return head + u": a file of the set is missing or cannot be opened (exit status 3).";
        case 4:
            return head + u": the set is not a disc image it can read (exit status 4).";
        case kListNotWritten:
            if (file != kWindowsListFile) return head + u": it could not write it (exit status 6).";
            // A standard user may write a file in C:\ that grants it, but may
            // create none there: an administrator makes it once for everyone.
            return u"No list of files: pdixtract could not write C:\\pdilist.txt (exit status 6). "
                   u"Windows lets only administrators create files in C:\\, so the file must be "
                   u"made for you once. An administrator can do that in a Command Prompt run as "
                   u"administrator, with this one command:\n\n"
                   u"type nul >> C:\\pdilist.txt && icacls C:\\pdilist.txt /grant "
                   u"*S-1-5-32-545:M\n\nZelvorn's setup does the same when it installs.";
        default:
            break;
    }
    if (end.code > 255) {
        // A Windows status such as 0xC000013A for a closed console.
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(end.code));
        return head + u": it ended with status " + Ascii(hex) + u".";
    }
    return head + u": it ended with exit status " + status + u".";
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

ListFileView ViewOfListFile(const ListLook& look, std::u16string_view path, DecodeText decode) {
    const ListFileRead& read = look.read;
    ListFileView view;
    const std::u16string file(path);
    // A command that could not write its list may have left it cut short.
    const bool writeFailed = look.ended && look.ended->how == ProcessEnd::How::Exited &&
                             look.ended->code == kListNotWritten;
    if (read.outcome == ListFileRead::Outcome::Read && (look.ended || look.settled) &&
        !writeFailed) {
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
    if (!look.ended) {
        view.waiting = true;
        view.notice = u"Waiting for pdixtract to write the list of files to " + file +
                      u". It is shown here as soon as it is written.";
        return view;
    }
    switch (read.outcome) {
        case ListFileRead::Outcome::Read:
        case ListFileRead::Outcome::Missing:
        case ListFileRead::Outcome::Unchanged:
            view.notice = NoListNotice(*look.ended, file);
            break;
        case ListFileRead::Outcome::NotPlainFile:
            view.notice =
                u"The list of files could not be read: " + file + u" is not a plain file of yours.";
            break;
        case ListFileRead::Outcome::TooLarge:
            view.notice = u"The list of files is larger than " + Grouped(kMaxListFileBytes >> 20) +
                          u" MiB, too large to show.";
            break;
        case ListFileRead::Outcome::Unreadable:
            view.notice = u"The list of files could not be read: " + read.reason + u".";
            break;
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
