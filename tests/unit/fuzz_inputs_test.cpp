#include <QDir>
#include <QFile>
#include <QTest>

#include "fuzz_checks.h"

// Replays the inputs the fuzzers keep, the seeds and every input that once
// broke a check (tests/data/fuzz/<target>), through the same checks.
class FuzzInputsTest : public QObject {
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void FuzzInputsTest::replay_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    for (const QString& target :
         {QStringLiteral("list_items"), QStringLiteral("split_command_line")}) {
        for (const QString& root :
             {QStringLiteral(ZELVORN_FUZZ_SEEDS), QStringLiteral(ZELVORN_TEST_DATA "/fuzz")}) {
            const QDir dir(root + u'/' + target);
            for (const QString& name : dir.entryList(QDir::Files)) {
                QTest::addRow("%s/%s", qPrintable(target), qPrintable(name))
                    << target << dir.filePath(name);
            }
        }
    }
}

void FuzzInputsTest::replay() {
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    const char* problem =
        target == "list_items" ? CheckListItems(data, size) : CheckSplitCommandLine(data, size);
    QVERIFY2(problem == nullptr, problem);
}

QTEST_GUILESS_MAIN(FuzzInputsTest)
#include "fuzz_inputs_test.moc"
