#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "convert_to_iso.h"
#include "form1_harness.h"

namespace {

const QString kWarningText =
    "If your filesystem is FAT32 this may cause errors due to the filesize.\r\nContinue?";

struct ButtonStates {
    bool extractAll;
    bool extractFiles;
    bool convert;
    friend bool operator==(const ButtonStates&, const ButtonStates&) = default;
};

}  // namespace

namespace QTest {
template <>
char* toString(const ButtonStates& s) {
    return qstrdup(QString("{extractAll %1, extractFiles %2, convert %3}")
                       .arg(s.extractAll)
                       .arg(s.extractFiles)
                       .arg(s.convert)
                       .toUtf8());
}
}  // namespace QTest

// "&Convert to Iso" on the real main window, with the Save As dialog and the
// warning answered from a script.
class ConvertToIsoTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void conversionTable_data();
    void conversionTable();
    void answerNoKeepsTheName();
    void firstTimeCancel();
    void nameCarriesIntoTheNextUse();
    void sameTextStillRunsTheChangeHandler();
    void noDriveRootRule_data();
    void noDriveRootRule();
    void thirdStateAsksNothing();
    void launchFailureIsReported();

private:
    void press(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void check(const QList<int>& values);
    ButtonStates buttons() const {
        return {m_form->Command2->isEnabled(), m_form->Command5->isEnabled(),
                m_form->Command6->isEnabled()};
    }

    std::unique_ptr<Form1Harness> m_harness;
    RecordingLauncher* m_launcher = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    Form1* m_form = nullptr;
};

void ConvertToIsoTest::init() {
    m_harness = std::make_unique<Form1Harness>();
    m_launcher = &m_harness->launcher;
    m_dialogs = &m_harness->dialogs;
    m_form = &m_harness->form;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void ConvertToIsoTest::cleanup() {
    m_harness.reset();
}

void ConvertToIsoTest::check(const QList<int>& values) {
    const QList<QCheckBox*> boxes{m_form->Check1, m_form->Check2, m_form->Check3};
    for (int i = 0; i < 3; ++i) {
        if (values[i]) press(boxes[i]);
    }
}

void ConvertToIsoTest::conversionTable_data() {
    QTest::addColumn<int>("check1");
    QTest::addColumn<int>("check2");
    QTest::addColumn<int>("check3");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<int>("style");
    const QString paths = R"("E:\My Images\film.iso" "C:\Sets\film.pdi")";
    QTest::newRow("none") << 0 << 0 << 0 << "pdixtract -i " + paths << 3;
    QTest::newRow("delete") << 1 << 0 << 0 << "pdixtract -r -i " + paths << 3;
    QTest::newRow("delete, VIDEO_TS") << 1 << 1 << 0 << "pdixtract -r -i " + paths << 3;
    QTest::newRow("all three") << 1 << 1 << 1 << "pdixtract -r -i " + paths << 2;
    QTest::newRow("delete, minimise") << 1 << 0 << 1 << "pdixtract -r -i " + paths << 2;
    QTest::newRow("VIDEO_TS, minimise") << 0 << 1 << 1 << "pdixtract -i " + paths << 2;
    QTest::newRow("minimise") << 0 << 0 << 1 << "pdixtract -i " + paths << 2;
    QTest::newRow("VIDEO_TS changes nothing") << 0 << 1 << 0 << "pdixtract -i " + paths << 3;
}

void ConvertToIsoTest::conversionTable() {
    QFETCH(int, check1);
    QFETCH(int, check2);
    QFETCH(int, check3);
    QFETCH(QString, commandLine);
    QFETCH(int, style);
    m_form->Text1->setText(R"(C:\Sets\film.pdi)");
    check({check1, check2, check3});
    m_dialogs->saveAnswers = {R"(E:\My Images\film.iso)"};
    m_dialogs->yesNoAnswers = {true};
    press(m_form->Command6);

    QCOMPARE(m_dialogs->saveRequests.size(), 1);
    QCOMPARE(m_dialogs->saveRequests[0].startName, "");
    QCOMPARE(m_dialogs->saveRequests[0].filters,
             (QList<FileFilter>{{"ISO-files", "*.iso"}, {"All Files", "*.*"}}));
    QCOMPARE(m_dialogs->questions.size(), 1);
    QCOMPARE(m_dialogs->questions[0].title, "Warning");
    QCOMPARE(m_dialogs->questions[0].text, kWarningText);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine, commandLine);
    QCOMPARE(int(m_launcher->launches[0].style), style);
    QCOMPARE(m_form->Text2->text(), R"(E:\My Images\film.iso)");
    QCOMPARE(buttons(), (ButtonStates{true, true, true}));
    QVERIFY(m_dialogs->errors.isEmpty());

    // The pure table agrees with what the window launched.
    const auto choice = ConvertToIsoChoice({check1, check2, check3});
    QVERIFY(choice);
    QVERIFY(commandLine.startsWith(choice->prefix));
    QCOMPARE(int(choice->style), style);
}

void ConvertToIsoTest::answerNoKeepsTheName() {
    m_form->Text1->setText("/sets/disc.pdi");
    m_dialogs->saveAnswers = {"/backup/disc.iso"};
    m_dialogs->yesNoAnswers = {false};
    press(m_form->Command6);
    QCOMPARE(m_dialogs->questions.size(), 1);
    QVERIFY(m_launcher->launches.isEmpty());
    QCOMPARE(m_form->Text2->text(), "/backup/disc.iso");
    QCOMPARE(buttons(), (ButtonStates{true, true, true}));
    QCOMPARE(m_form->Text1->text(), "/sets/disc.pdi");
}

void ConvertToIsoTest::firstTimeCancel() {
    m_form->Text1->setText(R"(D:\Images\disc.pdi)");
    QCOMPARE(buttons(), (ButtonStates{false, false, true}));
    m_dialogs->saveAnswers = {std::nullopt};
    m_dialogs->yesNoAnswers = {true};
    // The field is written, and its change handled, before the warning shows.
    QString textWhileAsking = "not asked";
    ButtonStates statesWhileAsking{};
    m_dialogs->whileAsking = [&] {
        textWhileAsking = m_form->Text2->text();
        statesWhileAsking = buttons();
    };
    press(m_form->Command6);
    QCOMPARE(textWhileAsking, "");
    QCOMPARE(statesWhileAsking, (ButtonStates{true, true, true}));
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine, R"(pdixtract -i "" "D:\Images\disc.pdi")");
    QCOMPARE(m_launcher->launches[0].style, WindowStyle::MaximizedActive);
    QCOMPARE(m_form->Text2->text(), "");
}

void ConvertToIsoTest::nameCarriesIntoTheNextUse() {
    m_form->Text1->setText("/sets/disc.pdi");
    m_dialogs->saveAnswers = {"/iso/first.iso", std::nullopt, "/iso/second", std::nullopt};
    m_dialogs->yesNoAnswers = {true, true, false, true};

    press(m_form->Command6);  // confirmed, Yes
    QCOMPARE(m_form->Text2->text(), "/iso/first.iso");

    // The user types another destination; a cancelled dialog brings the
    // confirmed name back all the same.
    m_form->Text2->setText("/somewhere/else");
    press(m_form->Command6);
    QCOMPARE(m_dialogs->saveRequests[1].startName, "/iso/first.iso");
    QCOMPARE(m_form->Text2->text(), "/iso/first.iso");

    press(m_form->Command6);  // a new name without extension, then No
    QCOMPARE(m_dialogs->saveRequests[2].startName, "/iso/first.iso");
    QCOMPARE(m_form->Text2->text(), "/iso/second");

    press(m_form->Command6);  // cancelled again: the name confirmed last, even after No
    QCOMPARE(m_dialogs->saveRequests[3].startName, "/iso/second");
    QCOMPARE(m_form->Text2->text(), "/iso/second");

    QCOMPARE(m_launcher->launches.size(), 3);
    QCOMPARE(m_launcher->launches[0].commandLine,
             R"(pdixtract -i "/iso/first.iso" "/sets/disc.pdi")");
    QCOMPARE(m_launcher->launches[1].commandLine,
             R"(pdixtract -i "/iso/first.iso" "/sets/disc.pdi")");
    QCOMPARE(m_launcher->launches[2].commandLine, R"(pdixtract -i "/iso/second" "/sets/disc.pdi")");
    QCOMPARE(buttons(), (ButtonStates{true, true, true}));
}

void ConvertToIsoTest::sameTextStillRunsTheChangeHandler() {
    // Writing the text the field already holds is no change to QLineEdit, but
    // it is a write of the field by the program: the change handler runs, so
    // with only the source filled the extraction buttons come on even though
    // the field stays empty after a first-time cancel.
    m_form->Text1->setText("/sets/disc.pdi");
    QSignalSpy changed(m_form->Text2, &QLineEdit::textChanged);
    m_dialogs->saveAnswers = {std::nullopt};
    m_dialogs->yesNoAnswers = {false};
    press(m_form->Command6);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_form->Text2->text(), "");
    QCOMPARE(buttons(), (ButtonStates{true, true, true}));
}

void ConvertToIsoTest::noDriveRootRule_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("drive root replaced") << R"(E:\)"
                                         << "/iso/film.iso"
                                         << R"(pdixtract -i "/iso/film.iso" "/sets/film.pdi")";
    QTest::newRow("drive root chosen, kept as it is") << "/out"
                                                      << R"(E:\)"
                                                      << R"(pdixtract -i "E:\" "/sets/film.pdi")";
}

void ConvertToIsoTest::noDriveRootRule() {
    QFETCH(QString, before);
    QFETCH(QString, chosen);
    QFETCH(QString, commandLine);
    m_form->Text1->setText("/sets/film.pdi");
    m_form->Text2->setText(before);
    m_dialogs->saveAnswers = {chosen};
    m_dialogs->yesNoAnswers = {true};
    press(m_form->Command6);
    QCOMPARE(m_form->Text2->text(), chosen);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine, commandLine);
}

void ConvertToIsoTest::thirdStateAsksNothing() {
    m_form->Text1->setText("/sets/disc.pdi");
    m_form->Check1->setTristate(true);
    m_form->Check1->setCheckState(Qt::PartiallyChecked);
    m_dialogs->saveAnswers = {"/iso/disc.iso"};
    m_dialogs->yesNoAnswers = {true};
    press(m_form->Command6);
    QCOMPARE(m_form->Text2->text(), "/iso/disc.iso");  // written before the boxes are read
    QVERIFY(m_dialogs->questions.isEmpty());
    QVERIFY(m_launcher->launches.isEmpty());
    QVERIFY(m_dialogs->errors.isEmpty());
}

void ConvertToIsoTest::launchFailureIsReported() {
    m_launcher->result = {LaunchResult::Status::ProgramNotFound, {}};
    m_form->Text1->setText("/sets/disc.pdi");
    m_dialogs->saveAnswers = {"/iso/disc.iso"};
    m_dialogs->yesNoAnswers = {true, true};
    press(m_form->Command6);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(m_dialogs->errors[0].title, "pdixtract not found");
    QCOMPARE(m_form->Text2->text(), "/iso/disc.iso");
    // The window stays usable: a second press asks again with the same name.
    press(m_form->Command6);
    QCOMPARE(m_dialogs->saveRequests[1].startName, "/iso/disc.iso");
    QCOMPARE(m_launcher->launches.size(), 2);
    QCOMPARE(m_dialogs->errors.size(), 2);
}

QTEST_MAIN(ConvertToIsoTest)
#include "convert_to_iso_test.moc"
