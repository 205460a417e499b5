// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/progress.h"

#include <algorithm>
#include <cinttypes>
#include <vector>

#include "base/terminal_text.h"
#include "base/utf8.h"
#include "pdixtract/signals.h"
#include "pdixtract/terminal.h"

namespace pdixtract {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRedrawEvery = std::chrono::milliseconds(250);
constexpr auto kSpeedWindow = std::chrono::seconds(5);
constexpr int kMinName = 10;

// Columns a character takes: East Asian wide characters take two.
int CharColumns(char32_t c) {
    bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
                (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

// The characters of printable text with their columns.
std::vector<std::pair<std::string, int>> Split(const std::string& text) {
    std::vector<std::pair<std::string, int>> out;
    for (std::size_t i = 0; i < text.size();) {
        const base::Utf8Sequence sequence = base::DecodeUtf8(text, i);
        out.emplace_back(text.substr(i, sequence.length), CharColumns(sequence.codePoint));
        i += sequence.length;
    }
    return out;
}

int Columns(const std::string& text) {
    int n = 0;
    for (const auto& [ch, w] : Split(text)) n += w;
    return n;
}

// text in at most width columns, shortened in the middle: "VTS_0…1.VOB".
std::string FitMiddle(const std::string& text, int width) {
    auto chars = Split(text);
    if (Columns(text) <= width) return text;
    if (width <= 0) return "";
    int left = (width - 1 + 1) / 2, right = width - 1 - left;
    std::string head, tail;
    for (std::size_t i = 0; i < chars.size() && left >= chars[i].second; ++i) {
        head += chars[i].first;
        left -= chars[i].second;
    }
    right += left;
    for (std::size_t i = chars.size(); i-- > 0 && right >= chars[i].second;) {
        tail.insert(0, chars[i].first);
        right -= chars[i].second;
    }
    return head + "\u2026" + tail;
}

std::string ClockText(double seconds) {
    auto s = static_cast<std::uint64_t>(seconds + 0.5);
    char text[32];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%" PRIu64 ":%02u:%02u", s / 3600,
                      static_cast<unsigned>(s / 60 % 60), static_cast<unsigned>(s % 60));
    } else {
        std::snprintf(text, sizeof text, "%u:%02u", static_cast<unsigned>(s / 60),
                      static_cast<unsigned>(s % 60));
    }
    return text;
}

}  // namespace

std::string HumanBytes(std::uint64_t bytes) {
    static const char* const units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < 4) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    if (unit == 0) {
        std::snprintf(text, sizeof text, "%" PRIu64 " B", bytes);
    } else {
        std::snprintf(text, sizeof text, "%.*f %s", value < 10 ? 2 : 1, value, units[unit]);
    }
    return text;
}

Progress::Progress(const Console& con, std::string verb, std::string doing, std::string subject,
                   std::uint64_t total, bool countItems)
    : m_con(con),
      m_verb(std::move(verb)),
      m_doing(std::move(doing)),
      m_subject(base::EscapeForTerminal(subject)),
      m_total(total),
      m_countItems(countItems) {
    m_start = Clock::now();
    m_lastDraw = m_start;
    if (m_con.live) m_width = TerminalWidth(m_con.out);
}

Progress::~Progress() {
    if (m_drawn) {
        std::fputs("\n", m_con.out);
        std::fflush(m_con.out);
    }
}

void Progress::begin(const std::string& item, std::uint64_t size) {
    m_item = base::EscapeForTerminal(item);
    m_itemSize = size;
    // Only the first item forces a draw, so thousands of small files stay within the rate.
    draw(!m_drawn);
}

void Progress::advance(std::uint64_t bytes) {
    m_done += bytes;
    draw(false);
}

void Progress::endItem() {
    ++m_items;
    if (!m_con.live) {
        std::fprintf(m_con.out, "%s %" PRIu64 "\n", m_item.c_str(), m_itemSize);
    }
}

std::string Progress::compose(int width, double speed) const {
    const int usable = (width > 0 ? width : 80) - 1;  // the last column would wrap the line
    unsigned percent = m_total ? static_cast<unsigned>(m_done * 100 / m_total) : 100;
    std::vector<std::string> figures = {std::to_string(percent) + "%",
                                        HumanBytes(m_done) + " of " + HumanBytes(m_total)};
    if (speed > 0) {
        figures.push_back(HumanBytes(static_cast<std::uint64_t>(speed)) + "/s");
        figures.push_back(ClockText(static_cast<double>(m_total - m_done) / speed) + " left");
    }
    // Figures go only when even a line without a bar has no room for the name.
    std::string shown;
    int room = 0;
    const int nameColumns = Columns(m_item);
    for (std::size_t keep = figures.size(); keep > 0; --keep) {
        shown.clear();
        for (std::size_t i = 0; i < keep; ++i) shown += (i ? "  " : "") + figures[i];
        room = usable - Columns(shown) - 2;
        if (room >= std::min(nameColumns, kMinName)) break;
    }
    // The name takes up to half the room, the bar the rest: a wide window is filled.
    int nameWidth = std::min(nameColumns, std::max(kMinName, room / 2));
    nameWidth = std::max(0, std::min(nameWidth, room));
    int bar = room - nameWidth - 3;
    if (bar < 4) {
        bar = 0;
        nameWidth = std::max(0, std::min(nameColumns, room));
    }
    std::string name = FitMiddle(m_item, nameWidth);
    std::string line = name + std::string(static_cast<std::size_t>(nameWidth - Columns(name)), ' ');
    if (bar > 0) {
        int full = static_cast<int>(bar * static_cast<std::uint64_t>(percent) / 100);
        line += " [" + std::string(static_cast<std::size_t>(full), '#') +
                std::string(static_cast<std::size_t>(bar - full), '.') + "]";
    }
    line += "  " + shown;
    if (Columns(line) > usable) line = FitMiddle(line, usable);
    return line;
}

void Progress::draw(bool force) {
    if (!m_con.live) return;
    auto now = Clock::now();
    if (TakeResize()) {
        m_width = TerminalWidth(m_con.out);
        force = true;
    }
    if (!force && now - m_lastDraw < kRedrawEvery) return;
    m_lastDraw = now;
    // The speed over the last few seconds, so the time left follows a changing disk.
    m_samples.emplace_back(now, m_done);
    while (m_samples.size() > 2 && now - m_samples[1].first > kSpeedWindow) m_samples.pop_front();
    double span = std::chrono::duration<double>(now - m_samples.front().first).count();
    double speed = span >= 0.5 ? static_cast<double>(m_done - m_samples.front().second) / span : 0;
    std::string line = compose(m_width, speed);
    std::fprintf(m_con.out, "\r%s\033[K", line.c_str());
    if (m_con.title) {
        unsigned percent = m_total ? static_cast<unsigned>(m_done * 100 / m_total) : 100;
        std::string title =
            std::to_string(percent) + "% " + m_doing + " " + m_subject + " \u2013 pdixtract";
        if (title != m_title) std::fprintf(m_con.out, "\033]0;%s\007", title.c_str());
        m_title = title;
    }
    std::fflush(m_con.out);
    m_drawn = true;
}

void Progress::clearLine() {
    if (!m_drawn) return;
    std::fputs("\r\033[K", m_con.out);
    std::fflush(m_con.out);
    m_drawn = false;
}

void Progress::finish(const std::string& where) {
    double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    if (m_drawn) std::fputs("\r\033[K", m_con.out);
    m_drawn = false;
    std::string rate;
    if (seconds > 0.001) {
        rate = ", " +
               HumanBytes(static_cast<std::uint64_t>(static_cast<double>(m_done) / seconds)) + "/s";
    }
    std::string what = HumanBytes(m_done);
    if (m_countItems) {
        what = std::to_string(m_items) + (m_items == 1 ? " file, " : " files, ") + what;
    }
    std::fprintf(m_con.out, "%s %s in %.2f s%s: %s\n", m_verb.c_str(), what.c_str(), seconds,
                 rate.c_str(), base::EscapeForTerminal(where).c_str());
    std::fflush(m_con.out);
}

}  // namespace pdixtract
