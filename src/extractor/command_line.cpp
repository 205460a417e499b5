#include "command_line.h"

QString ComposeCommandLine(const QString& prefix, const QString& target, const QString& source,
                           const QString& names) {
    return prefix + u'"' + target + u'"' + u' ' + u'"' + source + u'"' + names;
}

QStringList SplitCommandLine(const QString& commandLine) {
    QStringList arguments;
    QString current;
    bool inArgument = false;  // distinguishes an empty quoted argument from none
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (c == u' ' && !quoted) {
            if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inArgument) arguments.append(current);
    return arguments;
}
