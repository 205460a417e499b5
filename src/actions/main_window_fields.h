// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "launch/decision_table.h"
#include "launch/drive_root_rule.h"

namespace zelvorn {

// What the actions read from and write to the main window, always at the
// moment of use.
class MainWindowFields : public DestinationField {
public:
    // The source field's text: the chosen .pdi file.
    virtual std::u16string sourcePath() const = 0;
    // The three option boxes as they stand now.
    virtual OptionBoxes optionBoxes() const = 0;
};

}  // namespace zelvorn
