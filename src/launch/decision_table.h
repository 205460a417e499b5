// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "launch/command_line.h"

namespace zelvorn {

// The three option boxes as read at a press: 0 unchecked, 1 checked. Any other
// value (a box in a third state) matches no row of any table.
struct OptionFlags {
    int check1 = 0;
    int check2 = 0;
    int check3 = 0;
};

// What one row of an action's table selects: the command prefix (ending with a
// blank) and the window style the extractor starts with.
struct CommandChoice {
    std::u16string_view prefix;
    WindowStyle style;
};

// One row of an action's decision table.
struct DecisionRow {
    int check1;
    int check2;
    int check3;
    CommandChoice choice;
};

// Returns the choice of the first row whose values equal `flags`, or nothing
// when no row matches.
constexpr std::optional<CommandChoice> FindRow(std::span<const DecisionRow> table,
                                               const OptionFlags& flags) {
    for (const DecisionRow& row : table) {
        if (row.check1 == flags.check1 && row.check2 == flags.check2 &&
            row.check3 == flags.check3) {
            return row.choice;
        }
    }
    return std::nullopt;
}

}  // namespace zelvorn
