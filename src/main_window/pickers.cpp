// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/pickers.h"

namespace zelvorn {

OpenFileRequest SourceFileRequest(std::u16string_view rootFolder) {
    return {u"Open File",
            {{u"InstantCopy Images (*.pdi)", u"*.pdi"}, {u"All Files (*.*)", u"*.*"}},
            std::u16string(rootFolder)};
}

std::u16string SourceFieldText(std::u16string_view chosen) {
    // Blanks only: tabs and line breaks are part of what was chosen.
    const std::size_t begin = chosen.find_first_not_of(u' ');
    if (begin == std::u16string_view::npos) return {};
    return std::u16string(chosen.substr(begin, chosen.find_last_not_of(u' ') - begin + 1));
}

std::u16string DestinationFieldText(std::u16string_view chosen) {
    while (chosen.size() > 1 && chosen.back() == u'/') chosen.remove_suffix(1);
    return std::u16string(chosen);
}

std::optional<std::u16string> DroppedFieldText(DropTarget target,
                                               std::span<const DroppedItem> items) {
    if (items.size() != 1 || items.front().path.empty()) return std::nullopt;
    const DroppedItem& item = items.front();
    if (target == DropTarget::SourceField && item.kind == PathKind::File) return item.path;
    if (target == DropTarget::DestinationField && item.kind == PathKind::Folder) {
        return DestinationFieldText(item.path);
    }
    return std::nullopt;
}

}  // namespace zelvorn
