#include <QTest>

#include "command_line.h"
#include "drive_root_rule.h"

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void composes_data();
    void composes();
    void splits_data();
    void splits();
    void splitsWhatItComposes_data();
    void splitsWhatItComposes();
    void driveRootRule_data();
    void driveRootRule();
};

void CommandLineTest::composes_data() {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "pdixtract -m "
                           << R"(D:\Extracted)"
                           << R"(D:\Images\disc.pdi)"
                           << ""
                           << R"(pdixtract -m "D:\Extracted" "D:\Images\disc.pdi")";
    QTest::newRow("blanks in a path") << "pdixtract -r -m "
                                      << "E:"
                                      << R"(C:\Sets\My Movie.pdi)"
                                      << ""
                                      << R"(pdixtract -r -m "E:" "C:\Sets\My Movie.pdi")";
    QTest::newRow("both empty") << "pdixtract -m "
                                << ""
                                << ""
                                << ""
                                << R"(pdixtract -m "" "")";
    QTest::newRow("trailing backslash kept") << "pdixtract -m "
                                             << R"(D:\Out\)"
                                             << R"(D:\Images\disc.pdi)"
                                             << ""
                                             << R"(pdixtract -m "D:\Out\" "D:\Images\disc.pdi")";
    QTest::newRow("names follow the source")
        << "pdixtract -m "
        << R"(D:\Out)"
        << R"(D:\Images\disc.pdi)"
        << " VIDEO_TS.IFO VTS_01_1.VOB"
        << R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" VIDEO_TS.IFO VTS_01_1.VOB)";
    QTest::newRow("blanks kept, not trimmed") << "pdixtract -i "
                                              << " /iso "
                                              << "  "
                                              << ""
                                              << R"(pdixtract -i " /iso " "  ")";
}

void CommandLineTest::composes() {
    QFETCH(QString, prefix);
    QFETCH(QString, target);
    QFETCH(QString, source);
    QFETCH(QString, names);
    QFETCH(QString, expected);
    QCOMPARE(ComposeCommandLine(prefix, target, source, names), expected);
}

void CommandLineTest::splits_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("words") << "pdixtract -r -v -m" << QStringList{"pdixtract", "-r", "-v", "-m"};
    QTest::newRow("quoted blanks")
        << R"(pdixtract -m "/my out" "/sets/My Movie.pdi")"
        << QStringList{"pdixtract", "-m", "/my out", "/sets/My Movie.pdi"};
    QTest::newRow("empty quoted arguments kept")
        << R"(pdixtract -m "" "")" << QStringList{"pdixtract", "-m", "", ""};
    QTest::newRow("run of blanks separates once")
        << "a   b  \"\"   c" << QStringList{"a", "b", "", "c"};
    QTest::newRow("leading and trailing blanks") << "  a b  " << QStringList{"a", "b"};
    QTest::newRow("no escapes") << R"(x "C:\Out\" y)" << QStringList{"x", R"(C:\Out\)", "y"};
    QTest::newRow("quote joins a word") << R"(ab"c d"e)" << QStringList{"abc de"};
    QTest::newRow("open quote runs to the end") << R"(a "b c)" << QStringList{"a", "b c"};
    QTest::newRow("shell characters are plain text")
        << R"(p "; rm -rf ~" $(x) `y` |z)" << QStringList{"p", "; rm -rf ~", "$(x)", "`y`", "|z"};
    QTest::newRow("nothing") << "" << QStringList{};
    QTest::newRow("only blanks") << "   " << QStringList{};
    QTest::newRow("tab is not a separator") << "a\tb" << QStringList{"a\tb"};
    QTest::newRow("non-ASCII") << R"(p "/données/Ωmega.pdi")"
                               << QStringList{"p", "/données/Ωmega.pdi"};
}

void CommandLineTest::splits() {
    QFETCH(QString, commandLine);
    QFETCH(QStringList, arguments);
    QCOMPARE(SplitCommandLine(commandLine), arguments);
}

void CommandLineTest::splitsWhatItComposes_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("source");
    QTest::newRow("plain") << "/out"
                           << "/sets/disc.pdi";
    QTest::newRow("blanks") << "/my out dir"
                            << "/sets/My Movie.pdi";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("leading dash") << "-rf"
                                  << "--help";
}

void CommandLineTest::splitsWhatItComposes() {
    QFETCH(QString, target);
    QFETCH(QString, source);
    const QStringList arguments =
        SplitCommandLine(ComposeCommandLine("pdixtract -r -v -m ", target, source, " A.VOB B.IFO"));
    QCOMPARE(arguments,
             (QStringList{"pdixtract", "-r", "-v", "-m", target, source, "A.VOB", "B.IFO"}));
}

void CommandLineTest::driveRootRule_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const QString root = QString(QChar(letter)) + ":\\";
        QTest::newRow(qPrintable(root)) << root << root.left(2);
    }
    QTest::newRow("lower-case root") << R"(e:\)"
                                     << R"(e:\)";
    QTest::newRow("A root") << R"(A:\)"
                            << R"(A:\)";
    QTest::newRow("B root") << R"(B:\)"
                            << R"(B:\)";
    QTest::newRow("already a designator") << "E:"
                                          << "E:";
    QTest::newRow("folder") << R"(E:\Films)"
                            << R"(E:\Films)";
    QTest::newRow("folder with backslash") << R"(E:\Films\)"
                                           << R"(E:\Films\)";
    QTest::newRow("blank before") << R"( E:\)"
                                  << R"( E:\)";
    QTest::newRow("blank after") << R"(E:\ )"
                                 << R"(E:\ )";
    QTest::newRow("forward slash") << "E:/"
                                   << "E:/";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("unix root") << "/"
                               << "/";
    QTest::newRow("digit") << R"(1:\)"
                           << R"(1:\)";
}

namespace {

class FieldDouble : public DestinationField {
public:
    explicit FieldDouble(QString text) : m_text(std::move(text)) {}
    QString destinationPath() const override { return m_text; }
    void setDestinationPath(const QString& path) override {
        m_text = path;
        ++writes;
    }
    int writes = 0;

private:
    QString m_text;
};

}  // namespace

void CommandLineTest::driveRootRule() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    FieldDouble field(text);
    ApplyDriveRootRule(field);
    QCOMPARE(field.destinationPath(), expected);
    QCOMPARE(field.writes, text == expected ? 0 : 1);  // untouched unless shortened
    ApplyDriveRootRule(field);                         // its own result is left alone
    QCOMPARE(field.destinationPath(), expected);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
