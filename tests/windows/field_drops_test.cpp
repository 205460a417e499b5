#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "field_drops.h"
#include "form1_harness.h"

// Dropping files and folders onto the main window's two path fields: what a
// drop means, and what the real window does with it.
class FieldDropsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void whatADropMeans_data();
    void whatADropMeans();
    void dropsOntoTheWindow_data();
    void dropsOntoTheWindow();

private:
    std::unique_ptr<Form1Harness> m_harness;
    RecordingLauncher* m_launcher = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    Form1* m_form = nullptr;
    QTemporaryDir* m_dir = nullptr;
};

namespace {

// A pretend file system: names under /folders/ are folders, under /files/ files.
PathKind PretendKind(const QString& path) {
    if (path.startsWith("/folders/")) return PathKind::Folder;
    if (path.startsWith("/files/")) return PathKind::File;
    return PathKind::Missing;
}

// Sends a whole drag over `target`, ending in a drop; tells whether the
// drag was welcomed on entering and the drop taken.
struct DragOutcome {
    bool enterAccepted;
    bool dropAccepted;
};

DragOutcome DragAndDrop(QWidget* target, const QMimeData* data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

}  // namespace

void FieldDropsTest::init() {
    m_harness = std::make_unique<Form1Harness>();
    m_launcher = &m_harness->launcher;
    m_dialogs = &m_harness->dialogs;
    m_form = &m_harness->form;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath("My Sets/out"));
    QFile file(m_dir->filePath("My Sets/disc.pdi"));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void FieldDropsTest::cleanup() {
    m_harness.reset();
    delete m_dir;
}

void FieldDropsTest::whatADropMeans_data() {
    QTest::addColumn<bool>("onSource");
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("text");  // null: the field stays as it is
    const QString none;
    QTest::newRow("file onto source")
        << true << QStringList{"file:///files/disc.pdi"} << "/files/disc.pdi";
    QTest::newRow("file with blanks and #")
        << true << QStringList{"file:///files/My%20Set%20%231.pdi"} << "/files/My Set #1.pdi";
    QTest::newRow("non-ASCII file name")
        << true << QStringList{"file:///files/%C3%A9t%C3%A9.pdi"} << "/files/été.pdi";
    QTest::newRow("folder onto destination")
        << false << QStringList{"file:///folders/out"} << "/folders/out";
    QTest::newRow("folder with trailing slash")
        << false << QStringList{"file:///folders/out/"} << "/folders/out";
    QTest::newRow("root folder") << false << QStringList{"file:///folders/"} << "/folders";
    QTest::newRow("folder onto source") << true << QStringList{"file:///folders/out"} << none;
    QTest::newRow("file onto destination")
        << false << QStringList{"file:///files/disc.pdi"} << none;
    QTest::newRow("missing file") << true << QStringList{"file:///gone/disc.pdi"} << none;
    QTest::newRow("missing folder") << false << QStringList{"file:///gone/out"} << none;
    QTest::newRow("web address") << true << QStringList{"https://example.org/files/disc.pdi"}
                                 << none;
    QTest::newRow("two files") << true << QStringList{"file:///files/a.pdi", "file:///files/b.pdi"}
                               << none;
    QTest::newRow("two folders") << false << QStringList{"file:///folders/a", "file:///folders/b"}
                                 << none;
    QTest::newRow("no URL") << true << QStringList{} << none;
}

void FieldDropsTest::whatADropMeans() {
    QFETCH(bool, onSource);
    QFETCH(QStringList, urls);
    QFETCH(QString, text);
    QList<QUrl> dropped;
    for (const QString& url : urls) dropped.append(QUrl(url));
    const auto result = DroppedFieldText(onSource ? DropField::Source : DropField::Destination,
                                         dropped, PretendKind);
    QCOMPARE(result.has_value(), !text.isNull());
    if (result) QCOMPARE(*result, text);
}

void FieldDropsTest::dropsOntoTheWindow_data() {
    QTest::addColumn<QString>("field");     // "Text1" or "Text2"
    QTest::addColumn<QString>("dropped");   // relative to the scratch folder; "text:" drops text
    QTest::addColumn<QString>("expected");  // relative; null: the field stays empty
    QTest::addColumn<bool>("extractAll");
    QTest::addColumn<bool>("convert");
    const QString none;
    QTest::newRow("file onto Text1") << "Text1"
                                     << "My Sets/disc.pdi"
                                     << "My Sets/disc.pdi" << false << true;
    QTest::newRow("folder onto Text2") << "Text2"
                                       << "My Sets/out"
                                       << "My Sets/out" << true << true;
    QTest::newRow("folder onto Text1") << "Text1"
                                       << "My Sets/out" << none << false << false;
    QTest::newRow("file onto Text2") << "Text2"
                                     << "My Sets/disc.pdi" << none << false << false;
    QTest::newRow("missing file onto Text1") << "Text1"
                                             << "My Sets/gone.pdi" << none << false << false;
    QTest::newRow("plain text onto Text1") << "Text1"
                                           << "text:/some/path.pdi" << none << false << false;
    QTest::newRow("plain text onto Text2") << "Text2"
                                           << "text:/out" << none << false << false;
}

void FieldDropsTest::dropsOntoTheWindow() {
    QFETCH(QString, field);
    QFETCH(QString, dropped);
    QFETCH(QString, expected);
    QFETCH(bool, extractAll);
    QFETCH(bool, convert);
    QLineEdit* target = field == "Text1" ? m_form->Text1 : m_form->Text2;
    QSignalSpy changed(target, &QLineEdit::textChanged);

    QMimeData data;
    if (dropped.startsWith("text:")) {
        data.setText(dropped.mid(5));
    } else {
        data.setUrls({QUrl::fromLocalFile(m_dir->filePath(dropped))});
    }
    const DragOutcome outcome = DragAndDrop(target, &data);

    const bool taken = !expected.isNull();
    QCOMPARE(outcome.enterAccepted, taken);
    QCOMPARE(outcome.dropAccepted, taken);
    QCOMPARE(target->text(), taken ? m_dir->filePath(expected) : QString());
    QCOMPARE(changed.count(), taken ? 1 : 0);
    // The change handler ran as for any other change of the field.
    QCOMPARE(m_form->Command2->isEnabled(), extractAll);
    QCOMPARE(m_form->Command5->isEnabled(), extractAll);
    QCOMPARE(m_form->Command6->isEnabled(), convert);
    QVERIFY(m_launcher->launches.isEmpty());
}

QTEST_MAIN(FieldDropsTest)
#include "field_drops_test.moc"
