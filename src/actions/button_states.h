// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace zelvorn {

// Whether each of the main window's three action buttons takes presses.
struct ActionButtonStates {
    bool extractAll = true;    // "&Extract all files"
    bool extractFiles = true;  // "Extract &files"
    bool convertToIso = true;  // "&Convert to Iso"

    friend bool operator==(const ActionButtonStates&, const ActionButtonStates&) = default;
};

// What just happened to the main window's fields.
enum class FieldEvent {
    Loaded,              // the window was made, before it is shown
    SourceChanged,       // any write to the source field, by the user or the program
    DestinationChanged,  // any write to the destination field
};

// The action buttons' states after `event`, from the states before it and
// the two fields' texts. Loading disables what an empty field cannot serve
// (a field of blanks counts as filled); a change only ever enables, whatever
// the text now is, so a button once enabled stays enabled.
ActionButtonStates ButtonStatesAfter(FieldEvent event, ActionButtonStates before,
                                     std::u16string_view source, std::u16string_view destination);

}  // namespace zelvorn
