#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "form1_harness.h"

// The two Browse buttons of the real main window, with the open-file dialog
// and the folder browser answered from a script.
class PickersTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sourceChoice_data();
    void sourceChoice();
    void sourceCancelChangesNothing_data();
    void sourceCancelChangesNothing();
    void folderChoice_data();
    void folderChoice();
    void folderCancelChangesNothing();

private:
    void press(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    std::unique_ptr<Form1Harness> m_harness;
    RecordingLauncher* m_launcher = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    Form1* m_form = nullptr;
};

void PickersTest::init() {
    m_harness = std::make_unique<Form1Harness>();
    m_launcher = &m_harness->launcher;
    m_dialogs = &m_harness->dialogs;
    m_form = &m_harness->form;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void PickersTest::cleanup() {
    m_harness.reset();
}

void PickersTest::sourceChoice_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("text1");
    QTest::newRow("plain") << "/images/Disc.pdi"
                           << "/images/Disc.pdi";
    QTest::newRow("blanks trimmed at both ends") << "  /sets/My Movie.pdi   "
                                                 << "/sets/My Movie.pdi";
    QTest::newRow("only blanks are trimmed") << "\t/sets/a.pdi\t"
                                             << "\t/sets/a.pdi\t";
    QTest::newRow("beyond ASCII, intact") << "/sets/Fílm – 日本.pdi"
                                          << "/sets/Fílm – 日本.pdi";
    QTest::newRow("any file") << "/sets/readme.txt"
                              << "/sets/readme.txt";
}

void PickersTest::sourceChoice() {
    QFETCH(QString, chosen);
    QFETCH(QString, text1);
    m_dialogs->openAnswers = {chosen};
    press(m_form->Command1);
    QCOMPARE(m_dialogs->openRequests.size(), 1);
    QCOMPARE(m_dialogs->openRequests[0].title, "Open File");
    QCOMPARE(
        m_dialogs->openRequests[0].filters,
        (QList<FileFilter>{{"InstantCopy Images (*.pdi)", "*.pdi"}, {"All Files (*.*)", "*.*"}}));
    QCOMPARE(m_dialogs->openRequests[0].startFolder, "/");
    QCOMPARE(m_form->Text1->text(), text1);
    QVERIFY(m_form->Command6->isEnabled());
    QVERIFY(!m_form->Command2->isEnabled());
    QVERIFY(!m_form->Command5->isEnabled());
    QCOMPARE(m_form->Text2->text(), "");
    QVERIFY(m_launcher->launches.isEmpty());
}

void PickersTest::sourceCancelChangesNothing_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("empty") << "";
    QTest::newRow("filled") << "/sets/old.pdi";
}

void PickersTest::sourceCancelChangesNothing() {
    QFETCH(QString, before);
    if (!before.isEmpty()) m_form->Text1->setText(before);
    QSignalSpy changed(m_form->Text1, &QLineEdit::textChanged);
    m_dialogs->openAnswers = {std::nullopt};
    press(m_form->Command1);
    QCOMPARE(m_dialogs->openRequests.size(), 1);
    QCOMPARE(m_form->Text1->text(), before);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_form->Command6->isEnabled(), !before.isEmpty());
    QVERIFY(!m_form->Command2->isEnabled());
}

void PickersTest::folderChoice_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("text2");
    QTest::newRow("folder") << "/media/films"
                            << "/media/films";
    QTest::newRow("trailing separator dropped") << "/media/films/"
                                                << "/media/films";
    QTest::newRow("root stays") << "/"
                                << "/";
    QTest::newRow("blanks kept") << "/media/ old films "
                                 << "/media/ old films ";
    QTest::newRow("beyond ASCII, intact") << "/media/Фильмы é"
                                          << "/media/Фильмы é";
}

void PickersTest::folderChoice() {
    QFETCH(QString, chosen);
    QFETCH(QString, text2);
    m_form->Text2->setText("/previous");
    m_dialogs->folderAnswers = {chosen};
    press(m_form->Command4);
    QCOMPARE(m_dialogs->folderTitles, QStringList{"Select a folder"});
    QCOMPARE(m_form->Text2->text(), text2);
    QCOMPARE(m_form->Text1->text(), "");
    QVERIFY(m_form->Command2->isEnabled());
    QVERIFY(m_form->Command5->isEnabled());
    QVERIFY(m_form->Command6->isEnabled());
}

void PickersTest::folderCancelChangesNothing() {
    m_dialogs->folderAnswers = {std::nullopt};
    press(m_form->Command4);
    QCOMPARE(m_dialogs->folderTitles.size(), 1);
    QCOMPARE(m_form->Text2->text(), "");
    QVERIFY(!m_form->Command2->isEnabled());
    QVERIFY(!m_form->Command5->isEnabled());
    QVERIFY(!m_form->Command6->isEnabled());

    // Only a choice fills the field; the next fresh browser finds it.
    m_dialogs->folderAnswers = {"/out"};
    press(m_form->Command4);
    QCOMPARE(m_form->Text2->text(), "/out");
    QVERIFY(m_form->Command2->isEnabled());
}

QTEST_MAIN(PickersTest)
#include "pickers_test.moc"
