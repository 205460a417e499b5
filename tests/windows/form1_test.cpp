#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "caption_controls.h"
#include "extract_all.h"
#include "form1_harness.h"

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithActionsDisabled();
    void layoutMatchesTheTable_data();
    void layoutMatchesTheTable();
    void everyCaptionFits();
    void enablingTable_data();
    void enablingTable();
    void tabOrderSkipsFramesAndDisabledButtons();
    void accessKeys_data();
    void accessKeys();
    void noDefaultButton();
    void clickingACheckBoxCaptionToggles();

    void extractAllTable_data();
    void extractAllTable();
    void extractAllTidiesADriveRoot();
    void extractAllWithEmptyFields();
    void thirdStateLaunchesNothing();
    void launchFailureIsReported_data();
    void launchFailureIsReported();

private:
    void press(QWidget* widget);

    std::unique_ptr<Form1Harness> m_harness;
    RecordingLauncher* m_launcher = nullptr;
    ScriptedDialogs* m_dialogs = nullptr;
    Form1* m_form = nullptr;
};

void Form1Test::init() {
    m_harness = std::make_unique<Form1Harness>();
    m_launcher = &m_harness->launcher;
    m_dialogs = &m_harness->dialogs;
    m_form = &m_harness->form;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void Form1Test::cleanup() {
    m_harness.reset();
}

void Form1Test::press(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

void Form1Test::startsWithActionsDisabled() {
    QCOMPARE(m_form->windowTitle(), "ZELVORN 0.7");
    QVERIFY(m_form->Text1->text().isEmpty());
    QVERIFY(m_form->Text2->text().isEmpty());
    for (QCheckBox* box : {m_form->Check1, m_form->Check2, m_form->Check3}) {
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QVERIFY(box->isEnabled());
    }
    for (QPushButton* action : {m_form->Command2, m_form->Command5, m_form->Command6}) {
        QVERIFY(!action->isEnabled());
    }
    for (QPushButton* button : {m_form->Command1, m_form->Command3, m_form->Command4}) {
        QVERIFY(button->isEnabled());
    }
    QCOMPARE(QApplication::focusWidget(), m_form->Command1);
    QCOMPARE(m_form->size(), QSize(312, 398));
    QVERIFY(!m_form->windowIcon().isNull());
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    // Also run at QT_SCALE_FACTOR=2: sizes stay in device-independent pixels.
    QCOMPARE(m_form->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
}

void Form1Test::layoutMatchesTheTable_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");  // pixels, relative to the container
    QTest::addColumn<QString>("container");
    QTest::newRow("Command6") << "Command6"
                              << "&Convert to Iso" << QRect(240, 256, 65, 41) << "Form1";
    QTest::newRow("Command5") << "Command5"
                              << "Extract &files" << QRect(240, 304, 65, 41) << "Form1";
    QTest::newRow("Frame3") << "Frame3"
                            << "PDI options:" << QRect(104, 208, 113, 185) << "Form1";
    QTest::newRow("Check3") << "Check3"
                            << "Minimize pdixtract when processing" << QRect(8, 128, 89, 41)
                            << "Frame3";
    QTest::newRow("Check2") << "Check2"
                            << "Create VIDEO_TS directory" << QRect(8, 72, 97, 41) << "Frame3";
    QTest::newRow("Check1") << "Check1"
                            << "Delete PDI-files after processing" << QRect(8, 16, 97, 49)
                            << "Frame3";
    QTest::newRow("Command4") << "Command4"
                              << "Browse" << QRect(208, 160, 73, 33) << "Form1";
    QTest::newRow("Frame2") << "Frame2"
                            << "Destination folder:" << QRect(8, 120, 297, 81) << "Form1";
    QTest::newRow("Text2") << "Text2"
                           << "Choose where you want the files to be written"
                           << QRect(16, 16, 265, 19) << "Frame2";
    QTest::newRow("Command3") << "Command3"
                              << "E&xit" << QRect(8, 352, 65, 41) << "Form1";
    QTest::newRow("Command2") << "Command2"
                              << "&Extract all files" << QRect(240, 352, 65, 41) << "Form1";
    QTest::newRow("Text1") << "Text1"
                           << "Choose which pdi-set you wish to open" << QRect(24, 48, 265, 19)
                           << "Form1";
    QTest::newRow("Command1") << "Command1"
                              << "&Browse" << QRect(208, 72, 73, 33) << "Form1";
    QTest::newRow("Frame1") << "Frame1"
                            << "Path to .pdi files:" << QRect(8, 32, 297, 81) << "Form1";
}

void Form1Test::layoutMatchesTheTable() {
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QString, container);
    const QMap<QString, QWidget*> controls{{"Command1", m_form->Command1},
                                           {"Command2", m_form->Command2},
                                           {"Command3", m_form->Command3},
                                           {"Command4", m_form->Command4},
                                           {"Command5", m_form->Command5},
                                           {"Command6", m_form->Command6},
                                           {"Text1", m_form->Text1},
                                           {"Text2", m_form->Text2},
                                           {"Check1", m_form->Check1},
                                           {"Check2", m_form->Check2},
                                           {"Check3", m_form->Check3},
                                           {"Frame1", m_form->Frame1},
                                           {"Frame2", m_form->Frame2},
                                           {"Frame3", m_form->Frame3},
                                           {"Form1", m_form}};
    QWidget* widget = controls.value(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->parentWidget(), controls.value(container));
    QVERIFY(widget->isVisible());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        QCOMPARE(frame->title(), caption);
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
    } else {
        QCOMPARE(widget->toolTip(), caption);
    }
}

void Form1Test::everyCaptionFits() {
    // Buttons centre their wrapped caption, check boxes put it beside the box:
    // either way all of it must lie inside the control.
    for (QAbstractButton* control : m_form->findChildren<QAbstractButton*>()) {
        QRect room;
        if (auto* button = qobject_cast<CaptionButton*>(control)) room = button->captionRect();
        if (auto* box = qobject_cast<CaptionCheckBox*>(control)) room = box->captionRect();
        QVERIFY(room.isValid());
        const QRect needed = control->fontMetrics().boundingRect(
            room, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, control->text());
        QVERIFY2(room.contains(needed),
                 qPrintable(control->text() + " needs " + QString::number(needed.width()) + "x" +
                            QString::number(needed.height())));
    }
    for (QGroupBox* frame : m_form->findChildren<QGroupBox*>()) {
        QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width() - 16);
    }
}

void Form1Test::enablingTable_data() {
    QTest::addColumn<QStringList>("edits");  // "1:text" sets Text1, "2:text" sets Text2
    QTest::addColumn<bool>("extractAll");
    QTest::addColumn<bool>("extractFiles");
    QTest::addColumn<bool>("convert");
    QTest::newRow("nothing changed") << QStringList{} << false << false << false;
    QTest::newRow("source only") << QStringList{"1:/sets/disc.pdi"} << false << false << true;
    QTest::newRow("source typed then deleted")
        << QStringList{"1:x", "1:"} << false << false << true;
    QTest::newRow("destination only") << QStringList{"2:/out"} << true << true << true;
    QTest::newRow("both") << QStringList{"1:/a.pdi", "2:/out"} << true << true << true;
    QTest::newRow("both emptied again")
        << QStringList{"1:/a.pdi", "2:/out", "1:", "2:"} << true << true << true;
    QTest::newRow("blanks count as filled") << QStringList{"2: "} << true << true << true;
}

void Form1Test::enablingTable() {
    QFETCH(QStringList, edits);
    for (const QString& edit : edits) {
        QLineEdit* field = edit.startsWith('1') ? m_form->Text1 : m_form->Text2;
        const QString text = edit.mid(2);
        // Type the new text as a user would, so the handler sees real edits.
        field->setFocus();
        field->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        } else {
            QTest::keyClicks(field, text);
        }
        QCOMPARE(field->text(), text);
    }
    QFETCH(bool, extractAll);
    QFETCH(bool, extractFiles);
    QFETCH(bool, convert);
    QCOMPARE(m_form->Command2->isEnabled(), extractAll);
    QCOMPARE(m_form->Command5->isEnabled(), extractFiles);
    QCOMPARE(m_form->Command6->isEnabled(), convert);
}

void Form1Test::tabOrderSkipsFramesAndDisabledButtons() {
    auto walk = [this] {
        QStringList order;
        m_form->Command1->setFocus();
        for (int i = 0; i < 12; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return order;
    };
    const QMap<QWidget*, QString> names{
        {m_form->Command1, "Command1"}, {m_form->Command2, "Command2"},
        {m_form->Command3, "Command3"}, {m_form->Command4, "Command4"},
        {m_form->Command5, "Command5"}, {m_form->Command6, "Command6"},
        {m_form->Text1, "Text1"},       {m_form->Text2, "Text2"},
        {m_form->Check1, "Check1"},     {m_form->Check2, "Check2"},
        {m_form->Check3, "Check3"}};
    for (auto it = names.begin(); it != names.end(); ++it) it.key()->setObjectName(it.value());

    QCOMPARE(walk(),
             (QStringList{"Command1", "Text1", "Command3", "Command4", "Text2", "Check1", "Check2",
                          "Check3", "Command1", "Text1", "Command3", "Command4"}));
    m_form->Text2->setText("/out");
    QCOMPARE(walk(),
             (QStringList{"Command1", "Text1", "Command2", "Command3", "Command4", "Text2",
                          "Check1", "Command5", "Command6", "Check2", "Check3", "Command1"}));
}

void Form1Test::accessKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("button");
    QTest::newRow("Alt+B") << int(Qt::Key_B) << "Command1";
    QTest::newRow("Alt+E") << int(Qt::Key_E) << "Command2";
    QTest::newRow("Alt+X") << int(Qt::Key_X) << "Command3";
    QTest::newRow("Alt+F") << int(Qt::Key_F) << "Command5";
    QTest::newRow("Alt+C") << int(Qt::Key_C) << "Command6";
}

void Form1Test::accessKeys() {
    QFETCH(int, key);
    QFETCH(QString, button);
    m_form->Text2->setText("/out");  // enables every action
    const QMap<QString, QPushButton*> buttons{{"Command1", m_form->Command1},
                                              {"Command2", m_form->Command2},
                                              {"Command3", m_form->Command3},
                                              {"Command5", m_form->Command5},
                                              {"Command6", m_form->Command6}};
    QSignalSpy clicked(buttons.value(button), &QPushButton::clicked);
    QTest::keyClick(m_form->windowHandle(), Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(clicked.count(), 1);  // a mnemonic animates the click first
    for (QPushButton* other : buttons) {
        if (other != buttons.value(button))
            QVERIFY(other->shortcut() != buttons.value(button)->shortcut());
    }
    QVERIFY(m_form->Command4->shortcut().isEmpty());
}

void Form1Test::noDefaultButton() {
    m_form->Text2->setText("/out");
    for (QPushButton* button : m_form->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
    m_form->Text1->setFocus();
    QTest::keyClick(m_form->Text1, Qt::Key_Return);
    QTest::keyClick(m_form->Text1, Qt::Key_Escape);
    QVERIFY(m_launcher->launches.isEmpty());
    QVERIFY(m_form->isVisible());
}

void Form1Test::clickingACheckBoxCaptionToggles() {
    for (QCheckBox* box : {m_form->Check1, m_form->Check2, m_form->Check3}) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 10, box->height() / 2));
        QCOMPARE(box->checkState(), Qt::Checked);
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(box->checkState(), Qt::Unchecked);
    }
}

void Form1Test::extractAllTable_data() {
    QTest::addColumn<int>("check1");
    QTest::addColumn<int>("check2");
    QTest::addColumn<int>("check3");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<int>("style");
    const QString paths = R"("D:\Extracted" "D:\Images\disc.pdi")";
    QTest::newRow("none") << 0 << 0 << 0 << "pdixtract -m " + paths << 3;
    QTest::newRow("delete") << 1 << 0 << 0 << "pdixtract -r -m " + paths << 3;
    QTest::newRow("delete, VIDEO_TS") << 1 << 1 << 0 << "pdixtract -r -v -m " + paths << 3;
    QTest::newRow("all three") << 1 << 1 << 1 << "pdixtract -r -v -m " + paths << 2;
    QTest::newRow("VIDEO_TS, minimise") << 0 << 1 << 1 << "pdixtract -v -m " + paths << 2;
    QTest::newRow("VIDEO_TS") << 0 << 1 << 0 << "pdixtract -v -m " + paths << 3;
    QTest::newRow("delete, minimise") << 1 << 0 << 1 << "pdixtract -r -m " + paths << 2;
    QTest::newRow("minimise") << 0 << 0 << 1 << "pdixtract -m " + paths << 2;
}

void Form1Test::extractAllTable() {
    QFETCH(int, check1);
    QFETCH(int, check2);
    QFETCH(int, check3);
    QFETCH(QString, commandLine);
    QFETCH(int, style);
    m_form->Text1->setText(R"(D:\Images\disc.pdi)");
    m_form->Text2->setText(R"(D:\Extracted)");
    const QList<QCheckBox*> boxes{m_form->Check1, m_form->Check2, m_form->Check3};
    const int values[] = {check1, check2, check3};
    for (int i = 0; i < 3; ++i) {
        if (values[i]) press(boxes[i]);
    }
    press(m_form->Command2);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine, commandLine);
    QCOMPARE(int(m_launcher->launches[0].style), style);
    QCOMPARE(m_form->Text2->text(), R"(D:\Extracted)");
    QVERIFY(m_dialogs->errors.isEmpty());

    // The pure table agrees with what the window launched.
    const auto choice = ExtractAllChoice({check1, check2, check3});
    QVERIFY(choice);
    QVERIFY(commandLine.startsWith(choice->prefix));
}

void Form1Test::extractAllTidiesADriveRoot() {
    m_form->Text1->setText(R"(C:\Sets\My Movie.pdi)");
    m_form->Text2->setText(R"(E:\)");
    press(m_form->Check1);
    press(m_form->Check3);
    QSignalSpy changed(m_form->Text2, &QLineEdit::textChanged);
    press(m_form->Command2);
    QCOMPARE(m_form->Text2->text(), "E:");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine, R"(pdixtract -r -m "E:" "C:\Sets\My Movie.pdi")");
    QCOMPARE(m_launcher->launches[0].style, WindowStyle::MinimizedActive);

    // A second press finds the designator, leaves it and composes the same line.
    press(m_form->Command2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_launcher->launches.size(), 2);
    QCOMPARE(m_launcher->launches[1].commandLine, m_launcher->launches[0].commandLine);
}

void Form1Test::extractAllWithEmptyFields() {
    m_form->Text2->setText("x");
    m_form->Text2->clear();
    press(m_form->Command2);
    QCOMPARE(m_launcher->launches.size(), 1);
    QCOMPARE(m_launcher->launches[0].commandLine, R"(pdixtract -m "" "")");
    QCOMPARE(m_launcher->launches[0].style, WindowStyle::MaximizedActive);
}

void Form1Test::thirdStateLaunchesNothing() {
    m_form->Text2->setText(R"(E:\)");
    m_form->Check2->setTristate(true);
    m_form->Check2->setCheckState(Qt::PartiallyChecked);
    press(m_form->Command2);
    QVERIFY(m_launcher->launches.isEmpty());
    QCOMPARE(m_form->Text2->text(), "E:");  // the rule ran first and its rewrite stays
    QVERIFY(m_dialogs->errors.isEmpty());
}

void Form1Test::launchFailureIsReported_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("not on the search path")
        << int(LaunchResult::Status::ProgramNotFound) << "pdixtract not found"
        << "search path";
    QTest::newRow("start failed") << int(LaunchResult::Status::StartFailed)
                                  << "pdixtract could not be started"
                                  << "Permission denied";
}

void Form1Test::launchFailureIsReported() {
    QFETCH(int, status);
    QFETCH(QString, title);
    QFETCH(QString, mentions);
    m_launcher->result = {LaunchResult::Status(status), "Permission denied"};
    m_form->Text1->setText("/sets/disc.pdi");
    m_form->Text2->setText("/out");
    press(m_form->Command2);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QCOMPARE(m_dialogs->errors[0].title, title);
    QVERIFY(m_dialogs->errors[0].text.contains(mentions));
    // The window stays usable: fields untouched, a second press tries again.
    QCOMPARE(m_form->Text2->text(), "/out");
    QVERIFY(m_form->Command2->isEnabled());
    press(m_form->Command2);
    QCOMPARE(m_launcher->launches.size(), 2);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
