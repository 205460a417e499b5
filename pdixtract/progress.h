#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pdix {

// Formats a byte count for people: "512 B", "3.4 MiB", "4.02 GiB".
std::string human_bytes(std::uint64_t bytes);

// Shows what the command is doing. On a terminal one status line is redrawn at most
// four times a second; otherwise each finished item gets one plain line.
class Progress {
public:
    // verb is the summary's past tense ("Extracted"); total is the bytes the whole job moves;
    // count_items says whether the summary counts files.
    Progress(std::FILE* out, bool live, std::string verb, std::uint64_t total,
             bool count_items = true);

    // Starts an item (a file name) of size bytes.
    void begin(const std::string& item, std::uint64_t size);

    // Counts bytes of the current item as done.
    void advance(std::uint64_t bytes);

    // Marks the current item complete.
    void end_item();

    // Prints the one-line summary; where names the destination.
    void finish(const std::string& where);

private:
    void draw(bool force);

    std::FILE* m_out;
    bool m_live;
    std::string m_verb;
    std::uint64_t m_total;
    std::uint64_t m_done = 0;
    std::string m_item;
    std::uint64_t m_item_size = 0;
    unsigned m_items = 0;
    bool m_count_items;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_last_draw;
};

}  // namespace pdix
