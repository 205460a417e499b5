// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <utility>

namespace pdixtract {

// Formats a byte count for people: "512 B", "3.4 MiB", "4.02 GiB".
std::string HumanBytes(std::uint64_t bytes);

// Where a command writes: live means stdout is a terminal whose line may be redrawn,
// title that the terminal also shows progress in its window title.
struct Console {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool live = false;
    bool title = false;
};

// Shows what the command is doing. On a terminal one line that fits its width (file name,
// bar, percentage, bytes, speed, time left) is redrawn at most four times a second, and the
// window title follows it; otherwise each finished item gets one plain line.
class Progress {
public:
    // verb is the summary's past tense ("Extracted"), doing the title's ("Extracting"),
    // subject what the title names; total is the bytes the whole job moves; countItems
    // says whether the summary counts files.
    Progress(const Console& con, std::string verb, std::string doing, std::string subject,
             std::uint64_t total, bool countItems = true);
    // A line still standing (the run failed) is ended, so a message below leaves it in view.
    ~Progress();

    // Starts an item (a file name) of size bytes.
    void begin(const std::string& item, std::uint64_t size);

    // Counts bytes of the current item as done.
    void advance(std::uint64_t bytes);

    // Marks the current item complete.
    void endItem();

    // Prints the one-line summary; where names the destination.
    void finish(const std::string& where);

    // Clears the redrawn line so a message can take its place; the next draw brings it back.
    void clearLine();

private:
    void draw(bool force);
    std::string compose(int width, double speed) const;

    Console m_con;
    std::string m_verb, m_doing, m_subject;
    std::uint64_t m_total;
    std::uint64_t m_done = 0;
    std::string m_item;
    std::uint64_t m_itemSize = 0;
    unsigned m_items = 0;
    bool m_countItems;
    bool m_drawn = false;
    int m_width = 0;
    std::string m_title;
    std::chrono::steady_clock::time_point m_start, m_lastDraw;
    std::deque<std::pair<std::chrono::steady_clock::time_point, std::uint64_t>> m_samples;
};

}  // namespace pdixtract
