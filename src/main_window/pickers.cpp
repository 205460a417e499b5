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

std::optional<std::u16string> DroppedFieldText(DropTarget target, std::span<const PathItem> items) {
    if (items.size() != 1 || items.front().path.empty()) return std::nullopt;
    const PathItem& item = items.front();
    if (target == DropTarget::SourceField && item.kind == PathKind::File) return item.path;
    if (target == DropTarget::DestinationField && item.kind == PathKind::Folder) {
        return DestinationFieldText(item.path);
    }
    return std::nullopt;
}

StartDecision DecideStart(std::span<const PathItem> arguments) {
    if (arguments.empty()) return {};
    if (auto path = DroppedFieldText(DropTarget::SourceField, arguments))
        return {std::move(path), {}, {}};
    if (arguments.size() > 1) {
        return {std::nullopt, u"One set at a time",
                u"Zelvorn opens one .pdi set at a time and was given several paths, so it opens "
                u"without a set.\n\nOpen the sets one by one, or choose one with Browse."};
    }
    const PathItem& item = arguments.front();
    if (item.kind == PathKind::Folder) {
        return {std::nullopt, u"Not a set",
                u"\"" + item.path +
                    u"\" is a folder, not a .pdi file, so Zelvorn opens without a set.\n\nChoose "
                    u"the set with Browse, or drop its .pdi file onto the field."};
    }
    return {std::nullopt, u"Set not found",
            u"There is no file \"" + item.path +
                u"\", so Zelvorn opens without a set.\n\nCheck the name, or choose the set with "
                u"Browse."};
}

}  // namespace zelvorn
