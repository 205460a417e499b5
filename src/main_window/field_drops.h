#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

// The main window's two path fields, as drop targets.
enum class DropField { Source, Destination };

// What a local path names, as far as a drop cares.
enum class PathKind { Missing, File, Folder };

// Tells what a local path names; the window asks the file system.
using PathKindOf = std::function<PathKind(const QString& localPath)>;

// What a field receives when `urls` are dropped onto it: one local file onto
// the source field gives its path, one local folder onto the destination field
// gives its path as the folder picker writes it. Anything else (a folder onto
// the source, a file onto the destination, several or non-local URLs, no URL at
// all) gives nothing, and the field stays as it is.
std::optional<QString> DroppedFieldText(DropField field, const QList<QUrl>& urls,
                                        const PathKindOf& kindOf);
