#pragma once

#include <QString>

#include "decision_table.h"
#include "drive_root_rule.h"

// What the actions read from and write to the main window, always at the
// moment of use.
class MainWindowFields : public DestinationField {
public:
    // The source field's text: the chosen .pdi file.
    virtual QString sourcePath() const = 0;
    // The three option boxes as they stand now.
    virtual OptionFlags optionFlags() const = 0;
};
