// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "launch/command_line.h"

namespace zelvorn {

// The state of an option box. A box in the third state (which no user can
// reach on a two-state box) matches no row of any table.
enum class BoxState { Unchecked, Checked, Indeterminate };

// The main window's three option boxes as read at a press.
struct OptionBoxes {
    BoxState deleteAfter = BoxState::Unchecked;  // "Delete PDI-files after processing"
    BoxState videoTs = BoxState::Unchecked;      // "Create VIDEO_TS directory"
    BoxState minimize = BoxState::Unchecked;     // "Minimize pdixtract when processing"

    friend bool operator==(const OptionBoxes&, const OptionBoxes&) = default;
};

// What one row of an action's table selects: the command prefix (ending with a
// blank) and the window style the extractor starts with.
struct CommandChoice {
    std::u16string_view prefix;
    WindowStyle style;
};

// One row of an action's decision table: the boxes it matches and its choice.
struct DecisionRow {
    OptionBoxes boxes;
    CommandChoice choice;
};

// Returns the choice of the first row whose boxes equal `boxes`, or nothing
// when no row matches.
constexpr std::optional<CommandChoice> FindRow(std::span<const DecisionRow> table,
                                               const OptionBoxes& boxes) {
    for (const DecisionRow& row : table) {
        if (row.boxes == boxes) return row.choice;
    }
    return std::nullopt;
}

}  // namespace zelvorn
