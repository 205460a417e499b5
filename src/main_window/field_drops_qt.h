// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace zelvorn {

// The main window's two path fields, as drop targets.
enum class DropField { Source, Destination };

// What a field receives when `urls` are dropped onto it: one existing local
// file onto the source field gives its path, one local folder onto the
// destination field gives its path as the folder picker writes it. Anything
// else (a folder onto the source, a file onto the destination, several or
// non-local URLs, a path that does not exist) gives nothing, and the field
// stays as it is.
std::optional<QString> DroppedFieldText(DropField field, const QList<QUrl>& urls);

}  // namespace zelvorn
