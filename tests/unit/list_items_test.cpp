#include <QTest>

#include "extract_selected.h"
#include "list_items.h"

Q_DECLARE_METATYPE(OptionFlags)

class ListItemsTest : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void keepsAtMostTheLimit_data();
    void keepsAtMostTheLimit();
    void namesText_data();
    void namesText();
    void extractSelectedTable_data();
    void extractSelectedTable();
};

void ListItemsTest::reads_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("two lines, CR LF") << QByteArray("VIDEO_TS.IFO 12288\r\nVTS_01_1.VOB 4096\r\n")
                                      << QStringList{"VIDEO_TS.IFO 12288", "VTS_01_1.VOB 4096"};
    QTest::newRow("two lines, LF") << QByteArray("VIDEO_TS.IFO 12288\nVTS_01_1.VOB 4096\n")
                                   << QStringList{"VIDEO_TS.IFO 12288", "VTS_01_1.VOB 4096"};
    QTest::newRow("lone CR ends a line") << QByteArray("A 1\rB 2\r") << QStringList{"A 1", "B 2"};
    QTest::newRow("mixed line ends")
        << QByteArray("A 1\r\nB 2\nC 3\r\n") << QStringList{"A 1", "B 2", "C 3"};
    QTest::newRow("no line end after the last line")
        << QByteArray("A 1\r\nB 2") << QStringList{"A 1", "B 2"};
    QTest::newRow("a comma splits a line") << QByteArray("A,B 10\r\n") << QStringList{"A", "B 10"};
    QTest::newRow("nothing between commas") << QByteArray("A,,B\r\n") << QStringList{"A", "", "B"};
    QTest::newRow("a comma at the end of the file") << QByteArray("A,") << QStringList{"A"};
    QTest::newRow("a comma before the line end")
        << QByteArray("A,\r\nB\r\n") << QStringList{"A", "", "B"};
    QTest::newRow("quoted item") << QByteArray("\"A B.TXT 10\"\r\n") << QStringList{"A B.TXT 10"};
    QTest::newRow("quoted comma") << QByteArray("\"A,B.TXT 10\",C 2\r\n")
                                  << QStringList{"A,B.TXT 10", "C 2"};
    QTest::newRow("quoted item keeps its blanks")
        << QByteArray("\"  A.TXT 1 \"\r\n") << QStringList{"  A.TXT 1 "};
    QTest::newRow("quoted item over a line end")
        << QByteArray("\"A\r\nB\" 1\r\nC 2\r\n") << QStringList{"A\r\nB 1", "C 2"};
    QTest::newRow("text after the closing quote is kept")
        << QByteArray("\"A B.TXT\" 10,C\r\n") << QStringList{"A B.TXT 10", "C"};
    QTest::newRow("unterminated quote runs to its line end")
        << QByteArray("\"A, B 1\r\nC 2\r\n") << QStringList{"A, B 1", "C 2"};
    QTest::newRow("unterminated quote on the last line")
        << QByteArray("A 1\r\n\"B 2") << QStringList{"A 1", "B 2"};
    QTest::newRow("leading blanks skipped")
        << QByteArray("   A.TXT 1\r\n\t B.TXT 2\r\n") << QStringList{"A.TXT 1", "B.TXT 2"};
    QTest::newRow("blanks after a comma skipped")
        << QByteArray("A,  B 1\r\n") << QStringList{"A", "B 1"};
    QTest::newRow("trailing blanks kept") << QByteArray("A 1  \r\n") << QStringList{"A 1  "};
    QTest::newRow("empty line between lines")
        << QByteArray("A 1\r\n\r\nB 2\r\n") << QStringList{"A 1", "", "B 2"};
    QTest::newRow("empty lines, LF") << QByteArray("\n\n") << QStringList{"", ""};
    QTest::newRow("a line of blanks") << QByteArray("A\r\n   \r\n") << QStringList{"A", ""};
    QTest::newRow("blanks at the end of the file") << QByteArray("A\r\n  ") << QStringList{"A", ""};
    QTest::newRow("UTF-8 names") << QByteArray("Ünïcødé.TXT 1\r\n日本.VOB 2\r\n")
                                 << QStringList{QString::fromUtf8("Ünïcødé.TXT 1"),
                                                QString::fromUtf8("日本.VOB 2")};
    QTest::newRow("invalid bytes shown replaced, entry kept")
        << QByteArray("A\xff\xfe.TXT 1\r\nB\xc3.TXT 2\r\nC 3\r\n")
        << QStringList{QString::fromUtf8("A\uFFFD\uFFFD.TXT 1"), QString::fromUtf8("B\uFFFD.TXT 2"),
                       "C 3"};
    QTest::newRow("an entry over 4,096 characters is cut")
        << QByteArray(5000, 'N') + " 1\r\nB 2\r\n"
        << QStringList{QString(4096, u'N'), "B 2"};
}

void ListItemsTest::reads() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    const ListItems items = ReadListItems(bytes);
    QCOMPARE(items.entries, entries);
    QCOMPARE(items.leftOut, 0);
}

void ListItemsTest::keepsAtMostTheLimit_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("leftOut");
    QTest::newRow("32,767 lines") << 32767 << 32767 << 0;
    QTest::newRow("32,768 lines") << 32768 << 32767 << 1;
    QTest::newRow("40,000 lines") << 40000 << 32767 << 7233;
}

void ListItemsTest::keepsAtMostTheLimit() {
    QFETCH(int, lines);
    QFETCH(int, kept);
    QFETCH(int, leftOut);
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) bytes += "F" + QByteArray::number(i) + ".VOB 2048\r\n";
    const ListItems items = ReadListItems(bytes);
    QCOMPARE(items.entries.size(), kept);
    QCOMPARE(items.leftOut, leftOut);
    QCOMPARE(items.entries.first(), "F0.VOB 2048");
    QCOMPARE(items.entries.last(), "F32766.VOB 2048");
}

void ListItemsTest::namesText_data() {
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("names");
    QTest::newRow("nothing selected") << QStringList{} << "";
    QTest::newRow("worked example")
        << QStringList{"VIDEO_TS.IFO 12288", "VTS_01_1.VOB 2048"} << " VIDEO_TS.IFO VTS_01_1.VOB";
    QTest::newRow("several blanks") << QStringList{"A.TXT 10 20"} << " A.TXT";
    QTest::newRow("no blank: the whole entry") << QStringList{"README", "B 1"} << " README B";
    QTest::newRow("empty entry adds nothing") << QStringList{"A 1", "", "B 2"} << " A B";
    QTest::newRow("leading blank adds a lone blank") << QStringList{"A 1", " B 2"} << " A ";
    QTest::newRow("a tab is no blank") << QStringList{"A\tB 1"} << " A\tB";
}

void ListItemsTest::namesText() {
    QFETCH(QStringList, selected);
    QFETCH(QString, names);
    QCOMPARE(NamesText(selected), names);
}

void ListItemsTest::extractSelectedTable_data() {
    QTest::addColumn<OptionFlags>("flags");
    QTest::addColumn<QString>("prefix");  // empty: no row matches
    QTest::addColumn<int>("style");
    QTest::newRow("none") << OptionFlags{0, 0, 0} << "pdixtract -m " << 3;
    QTest::newRow("delete") << OptionFlags{1, 0, 0} << "pdixtract -r -m " << 3;
    QTest::newRow("delete, VIDEO_TS") << OptionFlags{1, 1, 0} << "pdixtract -r -v -m " << 3;
    QTest::newRow("all three") << OptionFlags{1, 1, 1} << "pdixtract -r -v -m " << 6;
    QTest::newRow("VIDEO_TS, minimise") << OptionFlags{0, 1, 1} << "pdixtract -v -m " << 6;
    QTest::newRow("minimise") << OptionFlags{0, 0, 1} << "pdixtract -m " << 6;
    QTest::newRow("delete, minimise") << OptionFlags{1, 0, 1} << "pdixtract -r -m " << 6;
    QTest::newRow("VIDEO_TS") << OptionFlags{0, 1, 0} << "pdixtract -v -m " << 3;
    QTest::newRow("third state") << OptionFlags{0, 2, 0} << "" << 0;
    QTest::newRow("negative") << OptionFlags{-1, 0, 0} << "" << 0;
}

void ListItemsTest::extractSelectedTable() {
    QFETCH(OptionFlags, flags);
    QFETCH(QString, prefix);
    QFETCH(int, style);
    const auto choice = ExtractSelectedChoice(flags);
    QCOMPARE(choice.has_value(), !prefix.isEmpty());
    if (!choice) return;
    QCOMPARE(QString::fromLatin1(choice->prefix), prefix);
    QCOMPARE(int(choice->style), style);
}

QTEST_APPLESS_MAIN(ListItemsTest)
#include "list_items_test.moc"
