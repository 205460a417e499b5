#pragma once

#include <optional>

#include <QStringList>
#include <QStringView>

#include "decision_table.h"

// The prefix and window style "Extract file(s)" uses for these boxes (the
// minimise box picks style 6 here, unchecked 3), or nothing when a box is in
// neither state.
std::optional<CommandChoice> ExtractSelectedChoice(const OptionFlags& flags);

// The file name of a list entry: its text before the first blank (a tab does
// not count); an entry with no blank is all name.
QStringView FileNameOf(QStringView entry);

// The names text for the selected entries, given in list order: one blank and
// the file name for each, so empty or starting with a blank. An empty entry
// adds nothing; one that starts with a blank adds a lone blank.
QString NamesText(const QStringList& selectedEntries);
