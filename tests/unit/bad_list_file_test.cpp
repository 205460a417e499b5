#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "fake_main_window_fields.h"
#include "form2.h"
#include "recording_launcher.h"
#include "scripted_dialogs.h"

// Whatever lies at the list file's path, the selection window opens, shows
// what it can with a one-line notice for what it cannot, changes nothing on
// disk and still extracts.
class BadListFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensUsable_data();
    void opensUsable();

private:
    QString listFile() const { return m_dir->filePath("pdilist.txt"); }
    bool prepare(const QString& kind);

    QTemporaryDir* m_dir = nullptr;
};

namespace {

QByteArray Lines(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) bytes += "F" + QByteArray::number(i) + ".VOB 1\r\n";
    return bytes;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

void BadListFileTest::initTestCase() {
    QVERIFY(QFile::exists("/dev/zero"));
}

void BadListFileTest::init() {
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
}

void BadListFileTest::cleanup() {
    delete m_dir;
    m_dir = nullptr;
}

// Puts the kind of thing the row names at the list file's path.
bool BadListFileTest::prepare(const QString& kind) {
    const QString path = listFile();
    if (kind == "missing") return true;
    if (kind == "dangling link") return QFile::link(m_dir->filePath("gone.txt"), path);
    if (kind == "a folder") return QDir(m_dir->path()).mkdir("pdilist.txt");
    if (kind == "a link to a file elsewhere") {
        const QString target = m_dir->filePath("elsewhere/other.txt");
        return QDir(m_dir->path()).mkdir("elsewhere") && WriteFile(target, "ELSEWHERE.TXT 3\r\n") &&
               QFile::link(target, path);
    }
    if (kind == "a link to /dev/zero") return QFile::link("/dev/zero", path);
    if (kind == "a named pipe") return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "larger than 64 MiB") {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize((qint64(64) << 20) + 1);
    }
    if (kind == "zero bytes") return WriteFile(path, "");
    if (kind == "binary data") {
        QByteArray bytes(65536, Qt::Uninitialized);
        QRandomGenerator generator(42);
        for (char& c : bytes) c = static_cast<char>(generator.bounded(256));
        return WriteFile(path, bytes);
    }
    if (kind == "100,000 lines") return WriteFile(path, Lines(100000));
    if (kind == "one 10 MiB line") return WriteFile(path, QByteArray(10 << 20, 'N') + " 1\r\n");
    if (kind == "an unterminated quote")
        return WriteFile(path, "A.VOB 1\r\n\"B C.VOB 2\r\nD.VOB 3\r\n");
    if (kind == "invalid UTF-8") return WriteFile(path, "\xff\xfe.VOB 1\r\nA\xc3.VOB 2\r\n");
    if (kind == "unreadable") {
        return WriteFile(path, "A.VOB 1\r\n") &&
               QFile::setPermissions(path, QFileDevice::Permissions{});
    }
    return false;
}

void BadListFileTest::opensUsable_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");           // entries shown
    QTest::addColumn<QString>("firstEntry");  // when count > 0
    QTest::addColumn<QString>("notice");      // how it starts; empty: none

    const QString noList = "No list of files: pdixtract has not written ";
    const QString unreadable = "The list of files could not be read: ";
    QTest::newRow("missing") << "missing" << 0 << "" << noList;
    QTest::newRow("dangling link") << "dangling link" << 0 << "" << noList;
    QTest::newRow("unreadable") << "unreadable" << 0 << "" << unreadable + "Permission denied";
    QTest::newRow("a folder") << "a folder" << 0 << "" << unreadable;
    QTest::newRow("a link to a file elsewhere")
        << "a link to a file elsewhere" << 1 << "ELSEWHERE.TXT 3"
        << "";
    QTest::newRow("a link to /dev/zero") << "a link to /dev/zero" << 0 << "" << unreadable;
    QTest::newRow("a named pipe") << "a named pipe" << 0 << "" << unreadable;
    QTest::newRow("larger than 64 MiB")
        << "larger than 64 MiB" << 0 << ""
        << "The list of files is larger than 64 MiB, too large to show.";
    QTest::newRow("zero bytes") << "zero bytes" << 0 << ""
                                << "";
    QTest::newRow("binary data") << "binary data" << -1 << ""
                                 << "";
    QTest::newRow("100,000 lines")
        << "100,000 lines" << 32767 << "F0.VOB 1"
        << "Only the first 32,767 entries are shown; 67,233 more were left out.";
    QTest::newRow("one 10 MiB line") << "one 10 MiB line" << 1 << ""
                                     << "One entry longer than 4096 characters is shown cut.";
    QTest::newRow("an unterminated quote") << "an unterminated quote" << 3 << "A.VOB 1"
                                           << "";
    QTest::newRow("invalid UTF-8")
        << "invalid UTF-8" << 2 << QString::fromUtf8("\uFFFD\uFFFD.VOB 1") << "";
}

void BadListFileTest::opensUsable() {
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(QString, firstEntry);
    QFETCH(QString, notice);

    QVERIFY(prepare(kind));
    if (kind == "unreadable" && ::geteuid() == 0) {
        // Root reads whatever the permissions say: read as nobody instead
        // (the group stays root's), through a folder anyone may pass.
        QVERIFY(
            QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                                     QFileDevice::ExeOther));
        if (::seteuid(65534) != 0) QSKIP("running as root and cannot act as nobody");
    }
    const QFileInfo before(listFile());
    const qint64 sizeBefore = before.isFile() ? before.size() : -1;

    FakeMainWindowFields fields;
    fields.destination = "/out";
    fields.source = "/sets/disc.pdi";
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    Form2 form(fields, launcher, dialogs, listFile());
    if (::geteuid() != ::getuid()) QVERIFY(::seteuid(0) == 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    if (count >= 0) QCOMPARE(form.List1->count(), count);
    QVERIFY(form.List1->count() <= 32767);
    if (count > 0 && !firstEntry.isEmpty()) QCOMPARE(form.List1->item(0)->text(), firstEntry);
    if (kind == "one 10 MiB line") QCOMPARE(form.List1->item(0)->text(), QString(4096, u'N'));
    QCOMPARE(form.notice()->isVisible(), !notice.isEmpty());
    QVERIFY2(notice.isEmpty() ? form.notice()->text().isEmpty()
                              : form.notice()->text().startsWith(notice),
             qPrintable(form.notice()->text()));
    QVERIFY(dialogs.errors.isEmpty());  // a notice in the window, never a message box

    // Nothing on disk changed.
    const QFileInfo after(listFile());
    QCOMPARE(after.isFile() ? after.size() : -1, sizeBefore);

    // The window still extracts: with no selection, no names.
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    QCOMPARE(launcher.launches.size(), 1);
    QCOMPARE(launcher.launches[0].commandLine, R"(pdixtract -m "/out" "/sets/disc.pdi")");
}

QTEST_MAIN(BadListFileTest)
#include "bad_list_file_test.moc"
