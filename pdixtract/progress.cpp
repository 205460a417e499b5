#include "progress.h"

#include <cinttypes>

namespace pdix {

std::string human_bytes(std::uint64_t bytes) {
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

Progress::Progress(std::FILE* out, bool live, std::string verb, std::uint64_t total,
                   bool count_items)
    : m_out(out),
      m_live(live),
      m_verb(std::move(verb)),
      m_total(total),
      m_count_items(count_items) {
    m_start = std::chrono::steady_clock::now();
    m_last_draw = m_start;
}

void Progress::begin(const std::string& item, std::uint64_t size) {
    m_item = item;
    m_item_size = size;
    // Only the first item forces a draw, so thousands of small files stay within the rate.
    draw(!m_drawn);
}

void Progress::advance(std::uint64_t bytes) {
    m_done += bytes;
    draw(false);
}

void Progress::end_item() {
    ++m_items;
    if (!m_live) {
        std::fprintf(m_out, "%s %" PRIu64 "\n", m_item.c_str(), m_item_size);
        std::fflush(m_out);
    }
}

void Progress::draw(bool force) {
    if (!m_live) return;
    auto now = std::chrono::steady_clock::now();
    if (!force && now - m_last_draw < std::chrono::milliseconds(250)) return;
    m_last_draw = now;
    unsigned percent = m_total ? static_cast<unsigned>(m_done * 100 / m_total) : 100;
    // Keep the line short enough for an 80-column window so "\r" redraws it in place.
    std::string name = m_item.size() > 36 ? "..." + m_item.substr(m_item.size() - 33) : m_item;
    std::fprintf(m_out, "\r\033[K%s  %s of %s  %u%%", name.c_str(), human_bytes(m_done).c_str(),
                 human_bytes(m_total).c_str(), percent);
    std::fflush(m_out);
    m_drawn = true;
}

void Progress::finish(const std::string& where) {
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    if (m_drawn) std::fputs("\r\033[K", m_out);
    std::string rate;
    if (seconds > 0.001) {
        rate = ", " +
               human_bytes(static_cast<std::uint64_t>(static_cast<double>(m_done) / seconds)) +
               "/s";
    }
    std::string what = human_bytes(m_done);
    if (m_count_items) {
        what = std::to_string(m_items) + (m_items == 1 ? " file, " : " files, ") + what;
    }
    std::fprintf(m_out, "%s %s in %.2f s%s: %s\n", m_verb.c_str(), what.c_str(), seconds,
                 rate.c_str(), where.c_str());
    std::fflush(m_out);
}

}  // namespace pdix
