#include <signal.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "form1.h"
#include "form2_opener.h"
#include "process_launcher.h"
#include "scripted_dialogs.h"
#include "wait.h"

// "Extract files" with the real launcher, the real one-second wait and the
// real selection window, against stand-ins that misbehave the way an
// extractor can: the main window never hangs, the user learns what happened,
// and whatever list the extractor left is shown as it is.
class BadExtractorTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void listRequest_data();
    void listRequest();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

void BadExtractorTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
}

void BadExtractorTest::cleanupTestCase() {
    qputenv("PATH", m_savedPath);
}

void BadExtractorTest::init() {
    for (const char* name : {"pdixtract", "pdilist.txt", "pdixtract.pid"})
        QFile::remove(path(name));
}

void BadExtractorTest::cleanup() {
    // A stand-in that is still running is stopped with the test.
    QFile pid(path("pdixtract.pid"));
    if (pid.open(QIODevice::ReadOnly)) ::kill(pid.readAll().trimmed().toInt(), SIGTERM);
}

void BadExtractorTest::listRequest_data() {
    QTest::addColumn<QByteArray>("program");  // the stand-in's script; null: none
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("error");        // the message box's title; empty: none
    QTest::addColumn<QStringList>("entries");  // what the window shows
    QTest::addColumn<QString>("notice");       // how its notice starts; empty: none

    const QByteArray keepsPid = "echo $$ > \"$0.pid\"\n";
    const QString noList = "No list of files: pdixtract has not written ";
    QTest::newRow("missing from the search path")
        << QByteArray() << false << "pdixtract not found" << QStringList{} << "";
    QTest::newRow("not executable") << QByteArray("#!/bin/sh\nexit 0\n") << false
                                    << "pdixtract not found" << QStringList{} << "";
    QTest::newRow("cannot be started") << QByteArray("#!/nonexistent/interpreter\n") << true
                                       << "pdixtract could not be started" << QStringList{} << "";
    QTest::newRow("exits at once")
        << QByteArray("#!/bin/sh\nexit 4\n") << true << "" << QStringList{} << noList;
    QTest::newRow("keeps running") << "#!/bin/sh\n" + keepsPid + "exec /bin/sleep 30\n"
                                   << true << "" << QStringList{} << noList;
    QTest::newRow("writes the list late")
        << "#!/bin/sh\n" + keepsPid + "/bin/sleep 3\nprintf 'LATE.VOB 1\\r\\n' > \"$2\"\n"
        << true << "" << QStringList{} << noList;
    QTest::newRow("writes half a list")
        << "#!/bin/sh\n" + keepsPid + "printf 'A.VOB 1\\r\\nB.V' > \"$2\"\nexec /bin/sleep 30\n"
        << true << "" << QStringList{"A.VOB 1", "B.V"} << "";
}

void BadExtractorTest::listRequest() {
    QFETCH(QByteArray, program);
    QFETCH(bool, executable);
    QFETCH(QString, error);
    QFETCH(QStringList, entries);
    QFETCH(QString, notice);
    if (!program.isNull()) {
        QFile file(path("pdixtract"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(program);
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                    (executable ? QFile::ExeOwner : QFile::Permissions{})));
    }

    ProcessLauncher launcher(ProcessLauncher::Terminal::Never);
    ScriptedDialogs dialogs;
    BlockingWait wait;
    Form2Opener opener(launcher, dialogs);
    Form1 form(launcher, dialogs, wait, opener);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClicks(form.Text1, "/sets/disc.pdi");
    QTest::keyClicks(form.Text2, "/out");

    QElapsedTimer pressed;
    pressed.start();
    QTest::mouseClick(form.Command5, Qt::LeftButton);  // "Extract &files"
    // The one fixed wait at most: nothing waits for the extractor itself.
    QVERIFY2(pressed.elapsed() < 2500, qPrintable(QString::number(pressed.elapsed())));

    QCOMPARE(dialogs.errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty()) {
        QCOMPARE(dialogs.errors[0].title, error);
        QVERIFY(!opener.window());  // no window for a list nobody was asked to write
    } else {
        Form2* window = opener.window();
        QVERIFY(window);
        QStringList shown;
        for (int i = 0; i < window->List1->count(); ++i) shown << window->List1->item(i)->text();
        QCOMPARE(shown, entries);
        QCOMPARE(window->notice()->isVisible(), !notice.isEmpty());
        QVERIFY2(notice.isEmpty() ? window->notice()->text().isEmpty()
                                  : window->notice()->text().startsWith(notice),
                 qPrintable(window->notice()->text()));
    }
    // The main window is as the user left it and takes the next press.
    QCOMPARE(form.Text1->text(), "/sets/disc.pdi");
    QCOMPARE(form.Text2->text(), "/out");
    QVERIFY(form.Command5->isEnabled());
}

QTEST_MAIN(BadExtractorTest)
#include "bad_extractor_test.moc"
