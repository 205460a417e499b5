// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/field_drops_qt.h"

#include <QFileInfo>

#include "main_window/pickers.h"
#include "window_kit/window_look_qt.h"

namespace zelvorn {

std::optional<QString> DroppedFieldText(DropField field, const QList<QUrl>& urls) {
    // A field holds one path; guessing which of several was meant would lose data.
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (path.isEmpty()) return std::nullopt;
    const QFileInfo info(path);
    if (field == DropField::Source && info.isFile()) return path;
    if (field == DropField::Destination && info.isDir()) {
        return ToQString(DestinationFieldText(ToU16(path)));
    }
    return std::nullopt;
}

}  // namespace zelvorn
