#include "pickers.h"

#include <QDir>

OpenFileRequest SourceFileRequest() {
    return {QStringLiteral("Open File"),
            {{QStringLiteral("InstantCopy Images (*.pdi)"), QStringLiteral("*.pdi")},
             {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}},
            QDir::rootPath()};
}

QString FolderBrowserTitle() {
    return QStringLiteral("Select a folder");
}

QString SourceFieldText(const QString& chosen) {
    // Blanks only: QString::trimmed would also eat tabs and line breaks.
    qsizetype begin = 0;
    qsizetype end = chosen.size();
    while (begin < end && chosen[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && chosen[end - 1] == QLatin1Char(' ')) --end;
    return chosen.mid(begin, end - begin);
}

QString DestinationFieldText(const QString& chosen) {
    QString path = chosen;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}
