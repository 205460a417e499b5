#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "caption_controls.h"
#include "fake_main_window_fields.h"
#include "form2.h"
#include "recording_launcher.h"
#include "scripted_dialogs.h"

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensWithTheListFocusedAndNothingSelected();
    void layoutMatchesTheTable_data();
    void layoutMatchesTheTable();
    void captionsFit();
    void tabOrderSkipsTheHiddenField();
    void altEPressesExtract();

    void eightRows_data();
    void eightRows();
    void namesFollowListOrderNotClickOrder();
    void nothingSelectedStillLaunches();
    void namesTextTravelsThroughText1();
    void longNamesTextIsNotCut();
    void extendedSelectionWithKeyboard();
    void readsTheMainWindowAtEachPress();
    void launchFailureIsReported();

    void listFileProblems_data();
    void listFileProblems();
    void tooManyEntries();

private:
    Form2* open(const QByteArray& listFile);
    void click(int row, Qt::KeyboardModifiers modifiers = {});
    QString lastCommandLine() const;

    QTemporaryDir* m_dir = nullptr;
    FakeMainWindowFields* m_fields = nullptr;
    RecordingLauncher* m_launcher = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    Form2* m_form = nullptr;
};

namespace {

const QByteArray kThreeEntries = "VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nVTS_01_1.VOB 2048\r\n";

}  // namespace

void Form2Test::init() {
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_fields = new FakeMainWindowFields;
    m_fields->destination = R"(D:\Out)";
    m_fields->source = R"(D:\Images\disc.pdi)";
    m_launcher = new RecordingLauncher;
    m_dialogs = new ScriptedDialogs;
}

void Form2Test::cleanup() {
    delete m_form;
    m_form = nullptr;
    delete m_dialogs;
    delete m_launcher;
    delete m_fields;
    delete m_dir;
}

// Writes `contents` as the list file (null: no file) and opens the window on it.
Form2* Form2Test::open(const QByteArray& contents) {
    const QString path = m_dir->filePath("pdilist.txt");
    if (!contents.isNull()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) return {};
    }
    delete m_form;
    m_form = new Form2(*m_fields, *m_launcher, *m_dialogs, path);
    m_form->show();
    if (!QTest::qWaitForWindowActive(m_form)) return {};
    return m_form;
}

void Form2Test::click(int row, Qt::KeyboardModifiers modifiers) {
    QListWidget* list = m_form->List1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(row)).center());
}

QString Form2Test::lastCommandLine() const {
    return m_launcher->launches.isEmpty() ? QString() : m_launcher->launches.last().commandLine;
}

void Form2Test::opensWithTheListFocusedAndNothingSelected() {
    QVERIFY(open(kThreeEntries));
    QCOMPARE(m_form->windowTitle(), "List files");
    QCOMPARE(m_form->size(), QSize(334, 435));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    // Also run at QT_SCALE_FACTOR=2: sizes stay in device-independent pixels.
    QCOMPARE(m_form->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    QVERIFY(!m_form->windowIcon().isNull());
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(m_form->isWindow() && !m_form->parentWidget());  // no owner
    QCOMPARE(QApplication::focusWidget(), m_form->List1);
    QCOMPARE(m_form->List1->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(!m_form->List1->isSortingEnabled());
    QCOMPARE(m_form->List1->count(), 3);
    QCOMPARE(m_form->List1->item(0)->text(), "VIDEO_TS.IFO 12288");
    QCOMPARE(m_form->List1->item(2)->text(), "VTS_01_1.VOB 2048");
    QVERIFY(m_form->List1->selectedItems().isEmpty());
    QVERIFY(!m_form->Text1->isVisible());
    QVERIFY(!m_form->notice()->isVisible());
    QVERIFY(!m_form->Command2->isDefault() && !m_form->Command2->autoDefault());
}

void Form2Test::layoutMatchesTheTable_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");  // pixels at 96 DPI
    QTest::addColumn<bool>("visible");
    QTest::newRow("Text1") << "Text1" << QRect(8, 400, 209, 25) << false;
    QTest::newRow("Command2") << "Command2" << QRect(240, 376, 81, 49) << true;
    QTest::newRow("List1") << "List1" << QRect(8, 32, 313, 316) << true;
    QTest::newRow("Label1") << "Label1" << QRect(16, 8, 281, 17) << true;
}

void Form2Test::layoutMatchesTheTable() {
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QFETCH(bool, visible);
    QVERIFY(open(kThreeEntries));
    const QMap<QString, QWidget*> controls{{"Text1", m_form->Text1},
                                           {"Command2", m_form->Command2},
                                           {"List1", m_form->List1},
                                           {"Label1", m_form->Label1}};
    QWidget* widget = controls.value(control);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->parentWidget(), m_form);
    QCOMPARE(widget->isVisible(), visible);
}

void Form2Test::captionsFit() {
    QVERIFY(open(kThreeEntries));
    auto* button = qobject_cast<CaptionButton*>(m_form->Command2);
    QVERIFY(button);
    QCOMPARE(button->text(), "&Extract file(s)");
    const QRect room = button->captionRect();
    QVERIFY(room.contains(button->fontMetrics().boundingRect(
        room, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, button->text())));
    QCOMPARE(m_form->Label1->text(), "Choose which file(s) you want to extract:");
    QVERIFY(m_form->Label1->fontMetrics().horizontalAdvance(m_form->Label1->text()) <=
            m_form->Label1->width());
    // The notice shares the empty bottom left and keeps clear of the list and button.
    const QRect notice = m_form->notice()->geometry();
    QVERIFY(!notice.intersects(m_form->List1->geometry()));
    QVERIFY(!notice.intersects(m_form->Command2->geometry()));
    QVERIFY(m_form->rect().contains(notice));
}

void Form2Test::tabOrderSkipsTheHiddenField() {
    QVERIFY(open(kThreeEntries));
    QCOMPARE(QApplication::focusWidget(), m_form->List1);
    QTest::keyClick(m_form->List1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_form->Command2);
    QTest::keyClick(m_form->Command2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_form->List1);
}

void Form2Test::altEPressesExtract() {
    QVERIFY(open(kThreeEntries));
    QSignalSpy clicked(m_form->Command2, &QPushButton::clicked);
    QTest::keyClick(m_form->windowHandle(), Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(clicked.count(), 1);
    QCOMPARE(m_launcher->launches.size(), 1);
}

void Form2Test::eightRows_data() {
    QTest::addColumn<int>("check1");
    QTest::addColumn<int>("check2");
    QTest::addColumn<int>("check3");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("style");
    QTest::newRow("1 none") << 0 << 0 << 0 << "pdixtract -m " << 3;
    QTest::newRow("2 delete") << 1 << 0 << 0 << "pdixtract -r -m " << 3;
    QTest::newRow("3 delete, VIDEO_TS") << 1 << 1 << 0 << "pdixtract -r -v -m " << 3;
    QTest::newRow("4 all three") << 1 << 1 << 1 << "pdixtract -r -v -m " << 6;
    QTest::newRow("5 VIDEO_TS, minimise") << 0 << 1 << 1 << "pdixtract -v -m " << 6;
    QTest::newRow("6 minimise") << 0 << 0 << 1 << "pdixtract -m " << 6;
    QTest::newRow("7 delete, minimise") << 1 << 0 << 1 << "pdixtract -r -m " << 6;
    QTest::newRow("8 VIDEO_TS") << 0 << 1 << 0 << "pdixtract -v -m " << 3;
}

void Form2Test::eightRows() {
    QFETCH(int, check1);
    QFETCH(int, check2);
    QFETCH(int, check3);
    QFETCH(QString, prefix);
    QFETCH(int, style);
    QVERIFY(open(kThreeEntries));
    m_fields->flags = {check1, check2, check3};
    click(1);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(lastCommandLine(), prefix + R"("D:\Out" "D:\Images\disc.pdi" VIDEO_TS.VOB)");
    QCOMPARE(int(m_launcher->launches[0].style), style);
    // The window stays as it was: open, same list, same selection.
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->List1->count(), 3);
    QCOMPARE(m_form->List1->selectedItems().size(), 1);
    QVERIFY(m_form->List1->item(1)->isSelected());
    QCOMPARE(m_fields->rewrites, 0);

    // A box in neither state matches no row: nothing is launched, Text1 untouched.
    m_fields->flags.check2 = 2;
    m_form->Text1->setText("before");
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_form->Text1->text(), "before");
}

void Form2Test::namesFollowListOrderNotClickOrder() {
    QByteArray longList;
    for (int i = 0; i < 500; ++i) longList += "F" + QByteArray::number(i) + ".VOB 2048\r\n";
    QVERIFY(open(longList));
    m_form->List1->scrollToBottom();
    click(499);
    m_form->List1->scrollToTop();
    click(0, Qt::ControlModifier);
    click(2, Qt::ControlModifier);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(),
             R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" F0.VOB F2.VOB F499.VOB)");
    // Ctrl+click takes one entry out again.
    click(2, Qt::ControlModifier);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(), R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" F0.VOB F499.VOB)");
}

void Form2Test::nothingSelectedStillLaunches() {
    QVERIFY(open(kThreeEntries));
    m_fields->flags = {0, 0, 1};
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(lastCommandLine(), R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi")");
    QCOMPARE(m_launcher->launches[0].style, WindowStyle::MinimizedInactive);
    QCOMPARE(m_form->Text1->text(), "");

    // Empty paths are composed like any others.
    m_fields->destination.clear();
    m_fields->source.clear();
    m_fields->flags = {};
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(), R"(pdixtract -m "" "")");
}

void Form2Test::namesTextTravelsThroughText1() {
    QVERIFY(open("VIDEO_TS.IFO 12288\r\nA.TXT 10 20\r\n\r\nREADME\r\n\" B.TXT 1\"\r\n"));
    m_form->List1->selectAll();
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    // Empty entry: nothing; no blank: the whole entry; a leading blank: a lone blank.
    const QString names = " VIDEO_TS.IFO A.TXT README ";
    QCOMPARE(m_form->Text1->text(), names);
    QCOMPARE(lastCommandLine(), R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi")" + names);

    // The next press overwrites it; two presses with one selection give one line twice.
    click(1);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_form->Text1->text(), " A.TXT");
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_launcher->launches.size(), 3);
    QCOMPARE(m_launcher->launches[2].commandLine, m_launcher->launches[1].commandLine);
}

void Form2Test::longNamesTextIsNotCut() {
    QByteArray list;
    for (int i = 0; i < 4000; ++i) list += "FILE_" + QByteArray::number(100000 + i) + ".VOB 1\r\n";
    QVERIFY(open(list));
    m_form->List1->selectAll();
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    const QString line = lastCommandLine();
    QVERIFY(m_form->Text1->text().size() > 40000);  // beyond a line edit's default limit
    QVERIFY(line.endsWith(" FILE_103999.VOB"));
    QCOMPARE(line.count(".VOB"), 4000);
}

void Form2Test::extendedSelectionWithKeyboard() {
    QVERIFY(open(kThreeEntries));
    QWidget* list = m_form->List1;
    QTest::keyClick(list, Qt::Key_Down);                     // selects entry 1
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);  // extends to entry 2
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(),
             R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" VIDEO_TS.VOB VTS_01_1.VOB)");
    m_form->List1->setFocus();
    QTest::keyClick(list, Qt::Key_Home);                       // entry 0 alone
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);  // moves without selecting
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);  // adds entry 2
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(),
             R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" VIDEO_TS.IFO VTS_01_1.VOB)");
}

void Form2Test::readsTheMainWindowAtEachPress() {
    QVERIFY(open(kThreeEntries));
    click(0);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    m_fields->destination = R"(E:\)";  // typed since: used as typed, no rule here
    m_fields->source = R"(C:\Sets\My Movie.pdi)";
    m_fields->flags = {1, 1, 1};
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_launcher->launches[0].commandLine,
             R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" VIDEO_TS.IFO)");
    QCOMPARE(m_launcher->launches[1].commandLine,
             R"(pdixtract -r -v -m "E:\" "C:\Sets\My Movie.pdi" VIDEO_TS.IFO)");
    QCOMPARE(m_fields->rewrites, 0);
}

void Form2Test::launchFailureIsReported() {
    QVERIFY(open(kThreeEntries));
    m_launcher->result = {LaunchResult::Status::ProgramNotFound, {}};
    click(0);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(m_dialogs->errors[0].title, "pdixtract not found");
    QVERIFY(m_form->isVisible());
    QVERIFY(m_form->List1->item(0)->isSelected());
    m_launcher->result = {};
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(m_launcher->launches.size(), 2);
}

void Form2Test::listFileProblems_data() {
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "missing"
                             << "No list of files: pdixtract has not written ";
    QTest::newRow("a folder in its place") << "folder"
                                           << "The list of files could not be read: ";
    QTest::newRow("empty file") << "empty"
                                << "";
}

void Form2Test::listFileProblems() {
    QFETCH(QString, problem);
    QFETCH(QString, says);
    const QString path = m_dir->filePath("pdilist.txt");
    if (problem == "folder") QVERIFY(QDir(m_dir->path()).mkdir("pdilist.txt"));
    QVERIFY(open(problem == "empty" ? QByteArray("") : QByteArray()));
    QCOMPARE(m_form->List1->count(), 0);
    QCOMPARE(m_form->notice()->isVisible(), !says.isEmpty());
    QVERIFY(says.isEmpty() ? m_form->notice()->text().isEmpty()
                           : m_form->notice()->text().startsWith(says));
    if (problem == "missing") QVERIFY(m_form->notice()->text().contains(path));
    QVERIFY(m_dialogs->errors.isEmpty());  // a notice, not a message box
    // The window stays usable: a press launches with no names.
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(), R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi")");
}

void Form2Test::tooManyEntries() {
    QByteArray list;
    for (int i = 0; i < 32768; ++i) list += "F" + QByteArray::number(i) + ".VOB 1\r\n";
    QVERIFY(open(list));
    QCOMPARE(m_form->List1->count(), 32767);
    QCOMPARE(m_form->List1->item(32766)->text(), "F32766.VOB 1");
    QVERIFY(m_form->notice()->isVisible());
    QCOMPARE(m_form->notice()->text(),
             "Only the first 32,767 entries are shown; 1 more were left out.");
    // The notice fits its room.
    const QLabel* notice = m_form->notice();
    const QRect needed = notice->fontMetrics().boundingRect(
        notice->contentsRect(), Qt::AlignLeft | Qt::TextWordWrap, notice->text());
    QVERIFY(notice->contentsRect().contains(needed));

    m_form->List1->setCurrentRow(32766, QItemSelectionModel::Select);
    QTest::mouseClick(m_form->Command2, Qt::LeftButton);
    QCOMPARE(lastCommandLine(), R"(pdixtract -m "D:\Out" "D:\Images\disc.pdi" F32766.VOB)");
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
