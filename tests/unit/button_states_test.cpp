// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/button_states.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvorn {
namespace {

TEST(ButtonStates, LoadingDisablesWhatAnEmptyFieldCannotServeAndChangesOnlyEnable) {
    using enum FieldEvent;
    // The fields as the window loads, the changes that follow, and the states
    // of "Extract all files", "Extract files" and "Convert to Iso".
    const struct {
        std::u16string_view source, destination;
        std::vector<FieldEvent> changes;
        ActionButtonStates expected;
    } rows[] = {
        {u"", u"", {}, {false, false, false}},
        {u"a", u"", {}, {false, false, true}},
        {u"", u"/o", {}, {false, false, false}},
        {u" ", u" ", {}, {true, true, true}},  // blanks count as filled
        {u"", u"", {SourceChanged}, {false, false, true}},
        {u"", u"", {DestinationChanged}, {true, true, true}},
        // A change enables whatever the field now holds; nothing disables again.
        {u"", u"", {DestinationChanged, SourceChanged, DestinationChanged}, {true, true, true}},
    };
    for (const auto& row : rows) {
        ActionButtonStates states = ButtonStatesAfter(Loaded, {}, row.source, row.destination);
        for (const FieldEvent change : row.changes)
            states = ButtonStatesAfter(change, states, u"", u"");
        EXPECT_EQ(states, row.expected) << "row " << (&row - rows);
    }
}

}  // namespace
}  // namespace zelvorn
