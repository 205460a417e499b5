#include "drive_root_rule.h"

std::optional<QString> DriveDesignatorFor(const QString& text) {
    if (text.size() != 3 || text[1] != u':' || text[2] != u'\\') return std::nullopt;
    const char16_t letter = text[0].unicode();
    // A: and B: were floppy drives and are never shortened.
    if (letter < u'C' || letter > u'Z') return std::nullopt;
    return text.left(2);
}

void ApplyDriveRootRule(DestinationField& destination) {
    if (const auto designator = DriveDesignatorFor(destination.destinationPath())) {
        destination.setDestinationPath(*designator);
    }
}
