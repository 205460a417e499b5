#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "process_launcher.h"

// Starts real processes: a stand-in extractor in a private folder that is
// the whole search path, writing its arguments to a file.
class ProcessLauncherTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void terminalArguments_data();
    void terminalArguments();
    void startsTheProgramWithTheSplitArguments_data();
    void startsTheProgramWithTheSplitArguments();
    void leavesNoChildBehind();
    void reportsAMissingProgram_data();
    void reportsAMissingProgram();
    void reportsAStartThatFails();
    void runsInATerminalOnlyOnAnXDisplay_data();
    void runsInATerminalOnlyOnAnXDisplay();

private:
    void writeProgram(const QString& name, const QByteArray& text, QFile::Permissions permissions);
    QStringList recordedArguments();

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
    QString m_hold;  // "hold=" and the stand-in's PDIXTRACT_HOLD_ON_ERROR
};

void ProcessLauncherTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir.path()));
}

void ProcessLauncherTest::init() {
    QFile::remove(m_dir.filePath("record"));
    QFile::remove(m_dir.filePath("pdixtract"));
    writeProgram("pdixtract",
                 "#!/bin/sh\n{ for a in \"$@\"; do printf '%s\\n' \"[$a]\"; done; "
                 "printf 'hold=%s\\n' \"$PDIXTRACT_HOLD_ON_ERROR\"; } > \"$0.tmp\" && "
                 "/bin/mv \"$0.tmp\" "
                 "\"$(/usr/bin/dirname \"$0\")/record\"\n",
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void ProcessLauncherTest::cleanupTestCase() {
    qputenv("PATH", m_savedPath);
}

void ProcessLauncherTest::writeProgram(const QString& name, const QByteArray& text,
                                       QFile::Permissions permissions) {
    QFile file(m_dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

QStringList ProcessLauncherTest::recordedArguments() {
    QFile record(m_dir.filePath("record"));
    for (int i = 0; i < 100 && !record.exists(); ++i) QTest::qWait(50);
    if (!record.open(QIODevice::ReadOnly)) return {"<not started>"};
    QStringList lines = QString::fromUtf8(record.readAll()).split('\n', Qt::SkipEmptyParts);
    // The stand-in's last line tells whether it was asked to hold on error.
    m_hold = lines.isEmpty() ? QString() : lines.takeLast();
    return lines;
}

void ProcessLauncherTest::terminalArguments_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("expected");
    const QStringList argv{"/usr/bin/pdixtract", "-m", "", "/a b.pdi"};
    QTest::newRow("minimised, active") << 2 << QStringList{"-iconic", "-e"} + argv;
    QTest::newRow("maximised") << 3 << QStringList{"-maximized", "-e"} + argv;
    QTest::newRow("minimised, inactive") << 6 << QStringList{"-iconic", "-e"} + argv;
}

void ProcessLauncherTest::terminalArguments() {
    QFETCH(int, style);
    QFETCH(QStringList, expected);
    QCOMPARE(TerminalArguments(WindowStyle(style), {"/usr/bin/pdixtract", "-m", "", "/a b.pdi"}),
             expected);
}

void ProcessLauncherTest::startsTheProgramWithTheSplitArguments_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("recorded");
    QTest::newRow("extract all") << R"(pdixtract -r -v -m "/my out" "/sets/My Movie.pdi")"
                                 << QStringList{"[-r]", "[-v]", "[-m]", "[/my out]",
                                                "[/sets/My Movie.pdi]"};
    QTest::newRow("empty fields") << R"(pdixtract -m "" "")" << QStringList{"[-m]", "[]", "[]"};
    QTest::newRow("shell text stays text") << R"(pdixtract -m "$(touch x); `y` | z" "*")"
                                           << QStringList{"[-m]", "[$(touch x); `y` | z]", "[*]"};
    QTest::newRow("names") << R"(pdixtract -m "/o" "/s.pdi" A.VOB B.IFO)"
                           << QStringList{"[-m]", "[/o]", "[/s.pdi]", "[A.VOB]", "[B.IFO]"};
}

void ProcessLauncherTest::startsTheProgramWithTheSplitArguments() {
    QFETCH(QString, commandLine);
    QFETCH(QStringList, recorded);
    ProcessLauncher launcher(ProcessLauncher::Terminal::Never);
    const LaunchResult result = launcher.launch(commandLine, WindowStyle::MaximizedActive);
    QVERIFY(result.started());
    QCOMPARE(recordedArguments(), recorded);
    QVERIFY(!QFile::exists(m_dir.filePath("x")));
}

void ProcessLauncherTest::leavesNoChildBehind() {
    // The extractor is detached: it is not our child, so it can never become
    // our zombie, and nothing waits for it.
    writeProgram("pdixtract", "#!/bin/sh\nexec /bin/sleep 5\n",
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ProcessLauncher launcher(ProcessLauncher::Terminal::Never);
    QVERIFY(launcher.launch("pdixtract", WindowStyle::MinimizedActive).started());
    errno = 0;
    QCOMPARE(::waitpid(-1, nullptr, WNOHANG), -1);
    QCOMPARE(errno, ECHILD);
}

void ProcessLauncherTest::reportsAMissingProgram_data() {
    QTest::addColumn<QString>("setUp");
    QTest::newRow("not on the search path") << "remove";
    QTest::newRow("not executable") << "chmod";
    QTest::newRow("a folder of that name") << "folder";
}

void ProcessLauncherTest::reportsAMissingProgram() {
    QFETCH(QString, setUp);
    const QString path = m_dir.filePath("pdixtract");
    if (setUp == "remove") QFile::remove(path);
    if (setUp == "chmod") QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (setUp == "folder") {
        QFile::remove(path);
        QVERIFY(QDir(m_dir.path()).mkdir("pdixtract"));
    }
    ProcessLauncher launcher(ProcessLauncher::Terminal::Never);
    const LaunchResult result =
        launcher.launch(R"(pdixtract -m "/o" "/s.pdi")", WindowStyle::MaximizedActive);
    if (setUp == "folder") QDir(path).removeRecursively();
    QCOMPARE(result.status, LaunchResult::Status::ProgramNotFound);
    QVERIFY(!QFile::exists(m_dir.filePath("record")));
}

void ProcessLauncherTest::reportsAStartThatFails() {
    // Executable, but the kernel refuses it: the interpreter does not exist.
    writeProgram("pdixtract", "#!/nonexistent/interpreter\n",
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ProcessLauncher launcher(ProcessLauncher::Terminal::Never);
    const LaunchResult result =
        launcher.launch("pdixtract -m \"\" \"\"", WindowStyle::MaximizedActive);
    QCOMPARE(result.status, LaunchResult::Status::StartFailed);
    QVERIFY2(!result.reason.isEmpty(), "the message needs a reason");

    ProcessLauncher empty(ProcessLauncher::Terminal::Never);
    QCOMPARE(empty.launch("   ", WindowStyle::MaximizedActive).status,
             LaunchResult::Status::StartFailed);
}

void ProcessLauncherTest::runsInATerminalOnlyOnAnXDisplay_data() {
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<bool>("terminal");
    QTest::newRow("X") << QByteArray(":5") << QByteArray() << true;
    QTest::newRow("Wayland with XWayland") << QByteArray(":5") << QByteArray("wayland-0") << true;
    QTest::newRow("Wayland alone") << QByteArray() << QByteArray("wayland-0") << false;
    QTest::newRow("no display") << QByteArray() << QByteArray() << false;
}

void ProcessLauncherTest::runsInATerminalOnlyOnAnXDisplay() {
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(bool, terminal);
    // A stand-in xterm that records its arguments the way the extractor does.
    QFile::remove(m_dir.filePath("xterm"));
    QVERIFY(QFile::copy(m_dir.filePath("pdixtract"), m_dir.filePath("xterm")));
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    const QByteArray savedWayland = qgetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", display);
    qputenv("WAYLAND_DISPLAY", waylandDisplay);
    ProcessLauncher launcher;
    const LaunchResult result = launcher.launch(R"(pdixtract -m "" "/s.pdi")", WindowStyle(6));
    qputenv("DISPLAY", savedDisplay);
    qputenv("WAYLAND_DISPLAY", savedWayland);
    QVERIFY(result.started());
    const QStringList direct{"[-m]", "[]", "[/s.pdi]"};
    const QStringList viaTerminal =
        QStringList{"[-iconic]", "[-e]", "[" + m_dir.filePath("pdixtract") + "]"} + direct;
    const QStringList recorded = recordedArguments();
    QFile::remove(m_dir.filePath("xterm"));
    QCOMPARE(recorded, terminal ? viaTerminal : direct);
    // Only in its own terminal window does the extractor wait after a failure.
    QCOMPARE(m_hold, terminal ? QStringLiteral("hold=1") : QStringLiteral("hold="));
}

QTEST_GUILESS_MAIN(ProcessLauncherTest)
#include "process_launcher_test.moc"
