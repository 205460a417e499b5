#pragma once

#include <QString>
#include <QStringList>

// Joins a command line the way every action does: `prefix` (which ends with a
// blank), the target and the source each in double quotes separated by one
// blank, then `names` verbatim (empty, or starting with its own blank).
// Nothing is trimmed, checked or escaped.
QString ComposeCommandLine(const QString& prefix, const QString& target, const QString& source,
                           const QString& names = {});

// Splits a composed command line into its argument vector: blanks outside
// double quotes separate arguments (a run of blanks separates once), a pair of
// double quotes groups what stands between them ("" is an empty argument), and
// there are no escapes. A quote left open runs to the end of the text.
QStringList SplitCommandLine(const QString& commandLine);
