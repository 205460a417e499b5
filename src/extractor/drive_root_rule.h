#pragma once

#include <optional>

#include <QString>

// The main window's destination field, as the actions that tidy it see it.
class DestinationField {
public:
    virtual ~DestinationField() = default;
    // The field's current text.
    virtual QString destinationPath() const = 0;
    // Replaces the field's text; runs the field's change handler like a user edit.
    virtual void setDestinationPath(const QString& path) = 0;
};

// Returns the bare drive designator ("E:") when `text` is exactly a drive root
// from "C:\" to "Z:\" (upper-case letter, colon, backslash); otherwise nothing.
std::optional<QString> DriveDesignatorFor(const QString& text);

// Shortens a destination that is exactly a drive root to its designator, in
// the field itself, so the user sees it and every later reader finds it.
void ApplyDriveRootRule(DestinationField& destination);
