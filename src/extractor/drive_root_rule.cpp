// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/drive_root_rule.h"

namespace zelvorn {

std::optional<std::u16string> DriveDesignatorFor(std::u16string_view text) {
    if (text.size() != 3 || text[1] != u':' || text[2] != u'\\') return std::nullopt;
    // A: and B: were floppy drives and are never shortened.
    if (text[0] < u'C' || text[0] > u'Z') return std::nullopt;
    return std::u16string(text.substr(0, 2));
}

void ApplyDriveRootRule(DestinationField& destination) {
    if (const auto designator = DriveDesignatorFor(destination.destinationPath())) {
        destination.setDestinationPath(*designator);
    }
}

}  // namespace zelvorn
