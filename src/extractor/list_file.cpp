#include "list_file.h"

#include <QStandardPaths>

std::optional<QString> ListFileIn(const QString& runtimeDir) {
    if (runtimeDir.isEmpty() || runtimeDir.contains(u' ') || runtimeDir.contains(u'"'))
        return std::nullopt;
    return runtimeDir + QStringLiteral("/pdilist.txt");
}

std::optional<QString> ListFilePath() {
#ifdef Q_OS_WIN
    return QString::fromUtf16(kWindowsListFile);
#else
    // Qt creates the fallback runtime folder with owner-only permissions.
    return ListFileIn(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
#endif
}

QString ComposeListCommandLine(const QString& listFile, const QString& source) {
    return QStringLiteral("pdixtract -gb ") + listFile + u' ' + u'"' + source + u'"';
}
