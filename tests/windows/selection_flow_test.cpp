#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "form1.h"
#include "form2_opener.h"
#include "list_file.h"
#include "recording_launcher.h"
#include "recording_selection_window.h"
#include "recording_wait.h"
#include "scripted_dialogs.h"

// "Extract files" on the main window, through to the selection window and its
// extraction, with the list file in a private runtime folder made by the test.
class SelectionFlowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void extractFilesStepsInOrder_data();
    void extractFilesStepsInOrder();
    void failedLaunchNoWaitNoWindow();
    void unusableRuntimeFolderIsReported();

    void oneWindowAtATime();
    void extractsWithTheTidiedDestination();
    void closedMainWindowKeepsItsLastValues();
    void openerClosesTheWindowAtTheEnd();

private:
    void writeList(const QByteArray& contents);
    void press(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    QStringList entries(const Form2* form) const;

    QTemporaryDir m_runtime;
    RecordingLauncher* m_launcher = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    RecordingWait* m_wait = nullptr;
    Form2Opener* m_opener = nullptr;
    Form1* m_form = nullptr;
};

void SelectionFlowTest::initTestCase() {
    QVERIFY(m_runtime.isValid());  // made with owner-only permissions
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QCOMPARE(ListFilePath().value_or(QString()), m_runtime.filePath("pdilist.txt"));
}

void SelectionFlowTest::init() {
    QFile::remove(m_runtime.filePath("pdilist.txt"));
    m_launcher = new RecordingLauncher;
    m_dialogs = new ScriptedDialogs;
    m_wait = new RecordingWait;
    m_opener = new Form2Opener(*m_launcher, *m_dialogs);
    m_form = new Form1(*m_launcher, *m_dialogs, *m_wait, *m_opener);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void SelectionFlowTest::cleanup() {
    delete m_opener;
    delete m_form;
    delete m_wait;
    delete m_dialogs;
    delete m_launcher;
}

void SelectionFlowTest::writeList(const QByteArray& contents) {
    QFile file(m_runtime.filePath("pdilist.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), contents.size());
}

QStringList SelectionFlowTest::entries(const Form2* form) const {
    QStringList texts;
    for (int i = 0; i < form->List1->count(); ++i) texts << form->List1->item(i)->text();
    return texts;
}

void SelectionFlowTest::extractFilesStepsInOrder_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("tidied");
    QTest::addColumn<bool>("boxes");  // all three checked, or none
    QTest::newRow("drive root, all boxes") << R"(C:\Sets\My Movie.pdi)"
                                           << R"(E:\)"
                                           << "E:" << true;
    QTest::newRow("folder, no box") << "/sets/disc.pdi"
                                    << "/out"
                                    << "/out" << false;
    QTest::newRow("empty source") << ""
                                  << "/out"
                                  << "/out" << false;
}

void SelectionFlowTest::extractFilesStepsInOrder() {
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QString, tidied);
    QFETCH(bool, boxes);
    RecordingSelectionWindow window;
    Form1 form(*m_launcher, *m_dialogs, *m_wait, window);
    form.Text1->setText(source);
    form.Text2->setText(destination);
    if (boxes) {
        for (QCheckBox* box : {form.Check1, form.Check2, form.Check3}) box->setChecked(true);
    }
    QStringList order;
    connect(form.Text2, &QLineEdit::textChanged, this, [&] { order << "rule"; });
    m_wait->onWait = [&] {
        order << QStringLiteral("launch %1").arg(m_launcher->launches.size());
        order << "wait";
    };
    window.onShow = [&] { order << "window"; };

    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    press(form.Command5);

    const QStringList expectedOrder = destination == tidied
                                          ? QStringList{"launch 1", "wait", "window"}
                                          : QStringList{"rule", "launch 1", "wait", "window"};
    QCOMPARE(order, expectedOrder);
    QCOMPARE(form.Text2->text(), tidied);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine,
             "pdixtract -gb " + m_runtime.filePath("pdilist.txt") + " \"" + source + '"');
    QCOMPARE(m_launcher->launches[0].style, WindowStyle::MinimizedActive);
    QCOMPARE(m_wait->waits, QList<int>{1000});
    QCOMPARE(window.requests.size(), 1);
    QCOMPARE(window.requests[0].mainWindow, static_cast<MainWindowFields*>(&form));
    QCOMPARE(window.requests[0].listFile, m_runtime.filePath("pdilist.txt"));
}

void SelectionFlowTest::failedLaunchNoWaitNoWindow() {
    writeList("A.TXT 1\r\n");
    m_launcher->result = {LaunchResult::Status::StartFailed, "Permission denied"};
    m_form->Text2->setText(R"(E:\)");
    press(m_form->Command5);
    QCOMPARE(m_form->Text2->text(), "E:");
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(m_dialogs->errors[0].title, "pdixtract could not be started");
    QVERIFY(m_wait->waits.isEmpty());
    QVERIFY(!m_opener->window());
    QVERIFY(m_form->Command5->isEnabled());  // ready for another try
}

void SelectionFlowTest::unusableRuntimeFolderIsReported() {
    QTemporaryDir blank(QDir::tempPath() + "/zelvorn run-XXXXXX");
    QVERIFY(blank.isValid());
    qputenv("XDG_RUNTIME_DIR", blank.path().toLocal8Bit());
    m_form->Text2->setText("/out");
    press(m_form->Command5);
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QVERIFY(m_launcher->launches.isEmpty());
    QVERIFY(m_wait->waits.isEmpty());
    QVERIFY(!m_opener->window());
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(m_dialogs->errors[0].title, "No folder for the list of files");
}

void SelectionFlowTest::oneWindowAtATime() {
    writeList("VIDEO_TS.IFO 12288\r\nVTS_01_1.VOB 2048\r\n");
    m_form->Text1->setText("/sets/disc.pdi");
    m_form->Text2->setText("/out");
    press(m_form->Command5);
    QPointer<Form2> first = m_opener->window();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QVERIFY(!first->parentWidget());
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(entries(first), (QStringList{"VIDEO_TS.IFO 12288", "VTS_01_1.VOB 2048"}));
    QCOMPARE(QApplication::focusWidget(), first->List1);
    QVERIFY(first->List1->selectedItems().isEmpty());
    first->List1->item(1)->setSelected(true);

    // Modeless: the main window takes a press while the list is open, and the
    // open window only comes to the front with its list and selection.
    writeList("NEW.VOB 1\r\n");
    QApplication::setActiveWindow(m_form);
    press(m_form->Command5);
    QCOMPARE(m_launcher->launches.size(), 2);
    QCOMPARE(m_launcher->launches[1].commandLine, m_launcher->launches[0].commandLine);
    QCOMPARE(m_wait->waits, (QList<int>{1000, 1000}));
    QCOMPARE(m_opener->window(), first.data());
    QCOMPARE(entries(first), (QStringList{"VIDEO_TS.IFO 12288", "VTS_01_1.VOB 2048"}));
    QVERIFY(first->List1->item(1)->isSelected());
    QTRY_COMPARE(QApplication::activeWindow(), first.data());

    // Closed, it is gone; the next press reads the list afresh.
    first->close();
    QCOMPARE(m_opener->window(), nullptr);
    press(m_form->Command5);
    Form2* second = m_opener->window();
    QVERIFY(second);
    QCOMPARE(entries(second), QStringList{"NEW.VOB 1"});
    QTRY_VERIFY(!first);  // the closed one was discarded
}

void SelectionFlowTest::extractsWithTheTidiedDestination() {
    writeList("VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nVTS_01_1.VOB 2048\r\n");
    m_form->Text1->setText(R"(C:\Sets\My Movie.pdi)");
    m_form->Text2->setText(R"(E:\)");
    for (QCheckBox* box : {m_form->Check1, m_form->Check2, m_form->Check3}) press(box);
    press(m_form->Command5);
    Form2* form2 = m_opener->window();
    QVERIFY(form2);
    form2->List1->item(1)->setSelected(true);
    press(form2->Command2);
    QCOMPARE(m_launcher->launches.size(), 2);
    QCOMPARE(m_launcher->launches[1].commandLine,
             R"(pdixtract -r -v -m "E:" "C:\Sets\My Movie.pdi" VIDEO_TS.VOB)");
    QCOMPARE(m_launcher->launches[1].style, WindowStyle::MinimizedInactive);
    QVERIFY(form2->isVisible());
}

void SelectionFlowTest::closedMainWindowKeepsItsLastValues() {
    writeList("VIDEO_TS.IFO 12288\r\n");
    m_form->Text1->setText("/sets/disc.pdi");
    m_form->Text2->setText("/out");
    press(m_form->Command5);
    Form2* form2 = m_opener->window();
    QVERIFY(form2);
    m_form->Text2->setText("/later");
    press(m_form->Check2);

    QPointer<Form1> main = m_form;
    QVERIFY(m_form->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(main);  // hidden, not discarded
    QVERIFY(!m_form->isVisible());
    // The program ends with its last window; the list window is one.
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    QVERIFY(form2->isVisible());

    form2->List1->item(0)->setSelected(true);
    press(form2->Command2);
    QCOMPARE(m_launcher->launches.last().commandLine,
             R"(pdixtract -v -m "/later" "/sets/disc.pdi" VIDEO_TS.IFO)");
}

void SelectionFlowTest::openerClosesTheWindowAtTheEnd() {
    writeList("A.TXT 1\r\n");
    m_form->Text2->setText("/out");
    press(m_form->Command5);
    QPointer<Form2> form2 = m_opener->window();
    QVERIFY(form2);
    delete m_opener;
    m_opener = nullptr;
    QVERIFY(!form2);
}

QTEST_MAIN(SelectionFlowTest)
#include "selection_flow_test.moc"
