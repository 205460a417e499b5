// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/button_states.h"

namespace zelvorn {

ActionButtonStates ButtonStatesAfter(FieldEvent event, ActionButtonStates before,
                                     std::u16string_view source, std::u16string_view destination) {
    ActionButtonStates after = before;
    switch (event) {
        case FieldEvent::Loaded:
            if (source.empty()) after = {false, false, false};
            if (destination.empty()) after.extractAll = after.extractFiles = false;
            break;
        case FieldEvent::SourceChanged:
            after.convertToIso = true;
            break;
        case FieldEvent::DestinationChanged:
            after = {true, true, true};
            break;
    }
    return after;
}

}  // namespace zelvorn
