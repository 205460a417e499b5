#include "extract_selected.h"

#include <array>

namespace {

// Rows in the order they are tested.
constexpr std::array<DecisionRow, 8> kExtractSelectedTable{{
    {0, 0, 0, {"pdixtract -m ", WindowStyle::MaximizedActive}},
    {1, 0, 0, {"pdixtract -r -m ", WindowStyle::MaximizedActive}},
    {1, 1, 0, {"pdixtract -r -v -m ", WindowStyle::MaximizedActive}},
    {1, 1, 1, {"pdixtract -r -v -m ", WindowStyle::MinimizedInactive}},
    {0, 1, 1, {"pdixtract -v -m ", WindowStyle::MinimizedInactive}},
    {0, 0, 1, {"pdixtract -m ", WindowStyle::MinimizedInactive}},
    {1, 0, 1, {"pdixtract -r -m ", WindowStyle::MinimizedInactive}},
    {0, 1, 0, {"pdixtract -v -m ", WindowStyle::MaximizedActive}},
}};

}  // namespace

std::optional<CommandChoice> ExtractSelectedChoice(const OptionFlags& flags) {
    return FindRow(kExtractSelectedTable, flags);
}

QStringView FileNameOf(QStringView entry) {
    const qsizetype blank = entry.indexOf(u' ');
    return blank < 0 ? entry : entry.first(blank);
}

QString NamesText(const QStringList& selectedEntries) {
    QString names;
    for (const QString& entry : selectedEntries) {
        if (entry.isEmpty()) continue;  // no name and no stray blank
        names += u' ';
        names += FileNameOf(entry);
    }
    return names;
}
