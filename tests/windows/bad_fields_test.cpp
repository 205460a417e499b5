#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "command_line.h"
#include "form1.h"
#include "process_launcher.h"
#include "recording_launcher.h"
#include "recording_selection_window.h"
#include "recording_wait.h"
#include "scripted_dialogs.h"

namespace {

// Records each command line, then starts it for real, so a test sees both
// what was composed and what the started program received.
class RecordingProcessLauncher : public Launcher {
public:
    LaunchResult launch(const QString& commandLine, WindowStyle style) override {
        recorded.launch(commandLine, style);
        return real.launch(commandLine, style);
    }

    RecordingLauncher recorded;
    ProcessLauncher real{ProcessLauncher::Terminal::Never};
};

}  // namespace

// Whatever the fields hold, the actions compose it verbatim and the launcher
// starts pdixtract, and only pdixtract, with the arguments the one split
// gives: a shell would create the canary file, pdixtract's stand-in records
// its argument vector.
class BadFieldsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void extractAll_data();
    void extractAll();
    void listAndConvertCarryTheSourceAsOneArgument();

private:
    QStringList waitForArguments();
    QString expand(QString text) const { return text.replace("%CANARY%", canary()); }
    QString canary() const { return m_dir.filePath("canary"); }

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

void BadFieldsTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    // The stand-in is the only program on the search path; it writes its
    // arguments NUL-separated with shell built-ins and an absolute mv.
    QFile program(m_dir.filePath("pdixtract"));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write(
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.tmp\" && "
        "/bin/mv \"$0.tmp\" \"$0.args\"\n");
    program.close();
    QVERIFY(program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir.path()));
}

void BadFieldsTest::cleanupTestCase() {
    qputenv("PATH", m_savedPath);
}

void BadFieldsTest::init() {
    QFile::remove(m_dir.filePath("pdixtract.args"));
    QFile::remove(canary());
}

QStringList BadFieldsTest::waitForArguments() {
    QFile record(m_dir.filePath("pdixtract.args"));
    for (int i = 0; i < 200 && !record.exists(); ++i) QTest::qWait(25);
    if (!record.open(QIODevice::ReadOnly)) return {"<pdixtract did not run>"};
    QStringList arguments = QString::fromUtf8(record.readAll()).split(QChar(0));
    arguments.removeLast();  // after the last NUL
    return arguments;
}

void BadFieldsTest::extractAll_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QStringList>("arguments");  // what pdixtract receives

    const QString longSource = "/sets/" + QString(3990, u's') + ".pdi";
    const QString longDestination = "/out/" + QString(3995, u'd');
    QTest::newRow("empty") << ""
                           << "" << QStringList{"-m", "", ""};
    QTest::newRow("blanks only") << "   "
                                 << " " << QStringList{"-m", " ", "   "};
    QTest::newRow("4,000 characters")
        << longSource << longDestination << QStringList{"-m", longDestination, longSource};
    // A double quote ends the quoted text early; the rest rejoins, quotes
    // dropped, into one argument that names no file: pdixtract says so.
    QTest::newRow("double quotes inside a path")
        << R"(/sets/my "best" disc.pdi)"
        << "/out" << QStringList{"-m", "/out", "/sets/my best disc.pdi"};
    QTest::newRow("a quote that shifts the arguments")
        << "/sets/disc.pdi"
        << R"(/out" "/other)" << QStringList{"-m", "/out", "/other", "/sets/disc.pdi"};
    QTest::newRow("shell metacharacters")
        << "/sets/a; touch %CANARY%; $(touch %CANARY%) `touch %CANARY%` | touch %CANARY%.pdi"
        << "/out && touch %CANARY% > /dev/null"
        << QStringList{"-m", "/out && touch %CANARY% > /dev/null",
                       "/sets/a; touch %CANARY%; $(touch %CANARY%) `touch %CANARY%` | touch "
                       "%CANARY%.pdi"};
    QTest::newRow("wildcards and variables")
        << "/sets/*.pdi"
        << "$HOME/~" << QStringList{"-m", "$HOME/~", "/sets/*.pdi"};
    QTest::newRow("a leading '-'") << "-r"
                                   << "--help" << QStringList{"-m", "--help", "-r"};
    QTest::newRow("non-ASCII") << "/sets/Ünïcødé 日本 🎬.pdi"
                               << "/out/Ääkkönen"
                               << QStringList{"-m", "/out/Ääkkönen", "/sets/Ünïcødé 日本 🎬.pdi"};
    QTest::newRow("a path that does not exist")
        << "/nonexistent/disc.pdi"
        << "/nonexistent/out" << QStringList{"-m", "/nonexistent/out", "/nonexistent/disc.pdi"};
}

void BadFieldsTest::extractAll() {
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QStringList, arguments);
    source = expand(source);
    destination = expand(destination);
    for (QString& argument : arguments) argument = expand(argument);

    RecordingProcessLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingWait wait;
    RecordingSelectionWindow selection;
    Form1 form(launcher, dialogs, wait, selection);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // Typed over something, so an empty field has changed and enabled the button.
    for (QLineEdit* field : {form.Text1, form.Text2}) QTest::keyClicks(field, "x");
    form.Text1->setText(source);
    form.Text2->setText(destination);
    QTest::mouseClick(form.Command2, Qt::LeftButton);

    // Composed verbatim, as the one text the contract promises...
    QCOMPARE(launcher.recorded.launches.size(), 1);
    QCOMPARE(launcher.recorded.launches[0].commandLine,
             ComposeCommandLine("pdixtract -m ", destination, source));
    // ...and started as pdixtract with exactly these arguments, nothing else.
    QCOMPARE(waitForArguments(), arguments);
    QTest::qWait(100);  // a shell would have had time to run its commands
    QVERIFY2(!QFile::exists(canary()), "a shell ran part of a field");
    QVERIFY(dialogs.errors.isEmpty());
    // The fields are as the user left them, and the window takes the next press.
    QCOMPARE(form.Text1->text(), source);
    QCOMPARE(form.Text2->text(), destination);
    QVERIFY(form.Command2->isEnabled());
}

void BadFieldsTest::listAndConvertCarryTheSourceAsOneArgument() {
    const QString source = expand("/sets/x.pdi; touch %CANARY% #");
    RecordingProcessLauncher launcher;
    ScriptedDialogs dialogs;
    dialogs.saveAnswers = {expand("/isos/$(touch %CANARY%).iso")};
    dialogs.yesNoAnswers = {true};
    RecordingWait wait;
    RecordingSelectionWindow selection;
    Form1 form(launcher, dialogs, wait, selection);
    form.Text1->setText(source);

    QTest::mouseClick(form.Command6, Qt::LeftButton);  // "&Convert to Iso"
    QCOMPARE(waitForArguments(),
             QStringList({"-i", expand("/isos/$(touch %CANARY%).iso"), source}));
    QFile::remove(m_dir.filePath("pdixtract.args"));

    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
    QTest::mouseClick(form.Command5, Qt::LeftButton);  // "Extract &files"
    QCOMPARE(waitForArguments(), QStringList({"-gb", m_dir.filePath("pdilist.txt"), source}));
    QTest::qWait(100);
    QVERIFY(!QFile::exists(canary()));
    QVERIFY(dialogs.errors.isEmpty());
}

QTEST_MAIN(BadFieldsTest)
#include "bad_fields_test.moc"
