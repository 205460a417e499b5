#include "field_drops.h"

#include "pickers.h"

std::optional<QString> DroppedFieldText(DropField field, const QList<QUrl>& urls,
                                        const PathKindOf& kindOf) {
    // A field holds one path; guessing which of several was meant would lose data.
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (path.isEmpty()) return std::nullopt;
    switch (kindOf(path)) {
        case PathKind::File:
            if (field == DropField::Source) return path;
            break;
        case PathKind::Folder:
            if (field == DropField::Destination) return DestinationFieldText(path);
            break;
        case PathKind::Missing:
            break;
    }
    return std::nullopt;
}
