#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>

#include "fake_main_window_fields.h"
#include "form1.h"
#include "form2.h"
#include "recording_launcher.h"
#include "recording_selection_window.h"
#include "recording_wait.h"
#include "scripted_dialogs.h"

// What a screen reader announces for each control of both windows.
class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void names_data();
    void names();

private:
    QWidget* control(const QString& name) const;

    RecordingLauncher m_launcher;
    ScriptedDialogs m_dialogs;
    RecordingWait m_wait;
    RecordingSelectionWindow m_selectionWindow;
    FakeMainWindowFields m_fields;
    QTemporaryDir m_dir;
    Form1* m_form1 = nullptr;
    Form2* m_form2 = nullptr;
};

void AccessibilityTest::initTestCase() {
    m_form1 = new Form1(m_launcher, m_dialogs, m_wait, m_selectionWindow);
    m_form1->show();
    m_form2 = new Form2(m_fields, m_launcher, m_dialogs, m_dir.filePath("pdilist.txt"));
    m_form2->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form2));
}

void AccessibilityTest::cleanupTestCase() {
    delete m_form2;
    delete m_form1;
}

QWidget* AccessibilityTest::control(const QString& name) const {
    const QMap<QString, QWidget*> controls{{"Form1", m_form1},
                                           {"Form1.Command1", m_form1->Command1},
                                           {"Form1.Command2", m_form1->Command2},
                                           {"Form1.Command3", m_form1->Command3},
                                           {"Form1.Command4", m_form1->Command4},
                                           {"Form1.Command5", m_form1->Command5},
                                           {"Form1.Command6", m_form1->Command6},
                                           {"Form1.Text1", m_form1->Text1},
                                           {"Form1.Text2", m_form1->Text2},
                                           {"Form1.Check1", m_form1->Check1},
                                           {"Form1.Check2", m_form1->Check2},
                                           {"Form1.Check3", m_form1->Check3},
                                           {"Form1.Frame1", m_form1->Frame1},
                                           {"Form1.Frame2", m_form1->Frame2},
                                           {"Form1.Frame3", m_form1->Frame3},
                                           {"Form2", m_form2},
                                           {"Form2.List1", m_form2->List1},
                                           {"Form2.Command2", m_form2->Command2},
                                           {"Form2.Label1", m_form2->Label1}};
    return controls.value(name);
}

void AccessibilityTest::names_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");  // null: not checked
    const QString any;
    QTest::newRow("Form1") << "Form1"
                           << "ZELVORN 0.7" << any;
    QTest::newRow("Command1") << "Form1.Command1"
                              << "Browse" << any;
    QTest::newRow("Command2") << "Form1.Command2"
                              << "Extract all files" << any;
    QTest::newRow("Command3") << "Form1.Command3"
                              << "Exit" << any;
    QTest::newRow("Command4") << "Form1.Command4"
                              << "Browse" << any;
    QTest::newRow("Command5") << "Form1.Command5"
                              << "Extract files" << any;
    QTest::newRow("Command6") << "Form1.Command6"
                              << "Convert to Iso" << any;
    QTest::newRow("Text1") << "Form1.Text1"
                           << "Path to .pdi files:"
                           << "Choose which pdi-set you wish to open";
    QTest::newRow("Text2") << "Form1.Text2"
                           << "Destination folder:"
                           << "Choose where you want the files to be written";
    QTest::newRow("Check1") << "Form1.Check1"
                            << "Delete PDI-files after processing" << any;
    QTest::newRow("Check2") << "Form1.Check2"
                            << "Create VIDEO_TS directory" << any;
    QTest::newRow("Check3") << "Form1.Check3"
                            << "Minimize pdixtract when processing" << any;
    QTest::newRow("Frame1") << "Form1.Frame1"
                            << "Path to .pdi files:" << any;
    QTest::newRow("Frame2") << "Form1.Frame2"
                            << "Destination folder:" << any;
    QTest::newRow("Frame3") << "Form1.Frame3"
                            << "PDI options:" << any;
    QTest::newRow("Form2") << "Form2"
                           << "List files" << any;
    QTest::newRow("List1") << "Form2.List1"
                           << "Choose which file(s) you want to extract:" << any;
    QTest::newRow("Form2.Command2") << "Form2.Command2"
                                    << "Extract file(s)" << any;
    QTest::newRow("Label1") << "Form2.Label1"
                            << "Choose which file(s) you want to extract:" << any;
}

void AccessibilityTest::names() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QWidget* widget = this->control(control);
    QVERIFY(widget);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    if (!description.isNull()) {
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
