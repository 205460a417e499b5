// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvorn {

// The main window's destination field, as the actions that tidy it see it.
class DestinationField {
public:
    virtual ~DestinationField() = default;
    // The field's current text.
    virtual std::u16string destinationPath() const = 0;
    // Replaces the field's text; runs the field's change handler like a user
    // edit, even when the text stays the same.
    virtual void setDestinationPath(const std::u16string& path) = 0;
};

// Returns the bare drive designator ("E:") when `text` is exactly a drive root
// from "C:\" to "Z:\" (upper-case letter, colon, backslash); otherwise nothing.
// A: and B: were floppy drives and are never shortened.
inline std::optional<std::u16string> DriveDesignatorFor(std::u16string_view text) {
    if (text.size() != 3 || text[1] != u':' || text[2] != u'\\') return std::nullopt;
    if (text[0] < u'C' || text[0] > u'Z') return std::nullopt;
    return std::u16string(text.substr(0, 2));
}

// Shortens a destination that is exactly a drive root to its designator, in
// the field itself, so the user sees it and every later reader finds it.
inline void ApplyDriveRootRule(DestinationField& destination) {
    if (const auto designator = DriveDesignatorFor(destination.destinationPath())) {
        destination.setDestinationPath(*designator);
    }
}

}  // namespace zelvorn
