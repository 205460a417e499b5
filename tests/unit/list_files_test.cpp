#include <QTemporaryDir>
#include <QTest>

#include "fake_main_window_fields.h"
#include "list_file.h"
#include "list_files.h"
#include "recording_launcher.h"
#include "recording_selection_window.h"
#include "recording_wait.h"
#include "scripted_dialogs.h"

Q_DECLARE_METATYPE(OptionFlags)

class ListFilesTest : public QObject {
    Q_OBJECT
private slots:
    void composesTheListCommand_data();
    void composesTheListCommand();
    void listFileIn_data();
    void listFileIn();
    void listFileIsInThePrivateRuntimeFolder();
    void stepsInOrder_data();
    void stepsInOrder();
    void failedLaunchStopsThere();
    void noListFileStartsNothing();
};

void ListFilesTest::composesTheListCommand_data() {
    QTest::addColumn<QString>("listFile");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    const QString windows = QString::fromUtf16(kWindowsListFile);
    QTest::newRow("Windows") << windows << R"(D:\Images\disc.pdi)"
                             << R"(pdixtract -gb C:\pdilist.txt "D:\Images\disc.pdi")";
    QTest::newRow("Windows, blanks in the source")
        << windows << R"(C:\Sets\My Movie.pdi)"
        << R"(pdixtract -gb C:\pdilist.txt "C:\Sets\My Movie.pdi")";
    QTest::newRow("Windows, empty source") << windows << ""
                                           << R"(pdixtract -gb C:\pdilist.txt "")";
    QTest::newRow("Linux") << "/run/user/1000/pdilist.txt"
                           << "/sets/My Movie.pdi"
                           << R"(pdixtract -gb /run/user/1000/pdilist.txt "/sets/My Movie.pdi")";
    QTest::newRow("Linux, source not trimmed")
        << "/run/user/0/pdilist.txt"
        << " /a.pdi "
        << R"(pdixtract -gb /run/user/0/pdilist.txt " /a.pdi ")";
}

void ListFilesTest::composesTheListCommand() {
    QFETCH(QString, listFile);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QCOMPARE(ComposeListCommandLine(listFile, source), expected);
}

void ListFilesTest::listFileIn_data() {
    QTest::addColumn<QString>("runtimeDir");
    QTest::addColumn<QString>("listFile");  // empty: none
    QTest::newRow("runtime folder") << "/run/user/1000"
                                    << "/run/user/1000/pdilist.txt";
    QTest::newRow("Qt's fallback") << "/tmp/runtime-ann"
                                   << "/tmp/runtime-ann/pdilist.txt";
    QTest::newRow("no folder") << ""
                               << "";
    QTest::newRow("a blank in the path") << "/run/my user"
                                         << "";
    QTest::newRow("a quote in the path") << "/run/a\"b"
                                         << "";
}

void ListFilesTest::listFileIn() {
    QFETCH(QString, runtimeDir);
    QFETCH(QString, listFile);
    QCOMPARE(ListFileIn(runtimeDir).value_or(QString()), listFile);
}

void ListFilesTest::listFileIsInThePrivateRuntimeFolder() {
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QCOMPARE(ListFilePath().value_or(QString()), runtime.path() + "/pdilist.txt");
    qunsetenv("XDG_RUNTIME_DIR");
    QVERIFY(ListFilePath().value_or(QString()) != "/tmp/pdilist.txt");
}

void ListFilesTest::stepsInOrder_data() {
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("tidied");
    QTest::addColumn<OptionFlags>("flags");
    QTest::newRow("drive root, all boxes") << R"(E:\)"
                                           << "E:" << OptionFlags{1, 1, 1};
    QTest::newRow("folder, no box") << R"(D:\Out)"
                                    << R"(D:\Out)" << OptionFlags{0, 0, 0};
    QTest::newRow("third state is not read") << ""
                                             << "" << OptionFlags{2, 2, 2};
}

void ListFilesTest::stepsInOrder() {
    QFETCH(QString, destination);
    QFETCH(QString, tidied);
    QFETCH(OptionFlags, flags);
    FakeMainWindowFields fields;
    fields.destination = destination;
    fields.source = R"(C:\Sets\My Movie.pdi)";
    fields.flags = flags;
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingWait wait;
    RecordingSelectionWindow window;
    QStringList order;
    wait.onWait = [&] {
        // The rule ran and the extractor was started before the pause.
        QCOMPARE(fields.destination, tidied);
        QCOMPARE(launcher.launches.size(), 1);
        order << "wait";
    };
    window.onShow = [&] {
        QCOMPARE(wait.waits.size(), 1);
        order << "window";
    };

    ListFiles(fields, launcher, dialogs, wait, window, QStringLiteral("/run/u/pdilist.txt"));

    QCOMPARE(order, (QStringList{"wait", "window"}));
    QCOMPARE(launcher.launches.size(), 1);
    QCOMPARE(launcher.launches[0].commandLine,
             R"(pdixtract -gb /run/u/pdilist.txt "C:\Sets\My Movie.pdi")");
    QCOMPARE(launcher.launches[0].style, WindowStyle::MinimizedActive);
    QCOMPARE(wait.waits, QList<int>{1000});
    QCOMPARE(window.requests.size(), 1);
    QCOMPARE(window.requests[0].mainWindow, &fields);
    QCOMPARE(window.requests[0].listFile, "/run/u/pdilist.txt");
    QCOMPARE(fields.rewrites, destination == tidied ? 0 : 1);
    QVERIFY(dialogs.errors.isEmpty());
}

void ListFilesTest::failedLaunchStopsThere() {
    for (const auto status :
         {LaunchResult::Status::ProgramNotFound, LaunchResult::Status::StartFailed}) {
        FakeMainWindowFields fields;
        fields.destination = R"(E:\)";
        RecordingLauncher launcher;
        launcher.result = {status, "No such file or directory"};
        ScriptedDialogs dialogs;
        RecordingWait wait;
        RecordingSelectionWindow window;
        ListFiles(fields, launcher, dialogs, wait, window, QStringLiteral("/run/u/pdilist.txt"));
        QCOMPARE(fields.destination, "E:");  // the rule comes first whatever follows
        QCOMPARE(launcher.launches.size(), 1);
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(wait.waits.isEmpty());
        QVERIFY(window.requests.isEmpty());
    }
}

void ListFilesTest::noListFileStartsNothing() {
    FakeMainWindowFields fields;
    fields.destination = R"(E:\)";
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingWait wait;
    RecordingSelectionWindow window;
    ListFiles(fields, launcher, dialogs, wait, window, std::nullopt);
    QCOMPARE(fields.destination, "E:");
    QVERIFY(launcher.launches.isEmpty());
    QVERIFY(wait.waits.isEmpty());
    QVERIFY(window.requests.isEmpty());
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].title, "No folder for the list of files");
    QVERIFY(dialogs.errors[0].text.contains("XDG_RUNTIME_DIR"));
}

QTEST_GUILESS_MAIN(ListFilesTest)
#include "list_files_test.moc"
