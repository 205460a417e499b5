#include <QString>
#include <QStringList>

#include "command_line.h"
#include "fuzz_checks.h"

const char* CheckSplitCommandLine(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Any text: arguments never carry a double quote or more than the text held.
    const QStringList arguments = SplitCommandLine(text);
    qsizetype total = 0;
    for (const QString& argument : arguments) {
        if (argument.contains(u'"')) return "a double quote inside an argument";
        total += argument.size();
    }
    if (total > text.size()) return "arguments longer than the command line";

    // Fields as a user could type them (cut at U+001F, quotes taken out) each
    // arrive whole: blanks, shell characters, a leading '-', anything.
    QStringList fields = text.split(u'\x1f');
    for (QString& field : fields) field.remove(u'"');
    while (fields.size() < 2) fields.append(QString());
    const QString target = fields[0];
    const QString source = fields[1];
    QString names;
    QStringList expected{QStringLiteral("pdixtract"), QStringLiteral("-r"), QStringLiteral("-m"),
                         target, source};
    for (qsizetype i = 2; i < fields.size(); ++i) {
        // Names are unquoted, so only blank-free, non-empty ones stay whole.
        if (fields[i].isEmpty() || fields[i].contains(u' ')) continue;
        names += u' ' + fields[i];
        expected.append(fields[i]);
    }
    const QString line =
        ComposeCommandLine(QStringLiteral("pdixtract -r -m "), target, source, names);
    if (SplitCommandLine(line) != expected) return "a composed field did not come back whole";
    return nullptr;
}

#ifdef ZELVORN_FUZZER
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* problem = CheckSplitCommandLine(data, size)) {
        std::fprintf(stderr, "SplitCommandLine: %s\n", problem);
        std::abort();
    }
    return 0;
}
#endif
