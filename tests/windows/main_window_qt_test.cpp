// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>

#include "main_window_harness.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

using namespace zelvorn;

// The main window as a user drives it: its state, its keyboard and what each
// button hands to the core.
class MainWindowQtTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        h = new MainWindowHarness;
        QVERIFY(QTest::qWaitForWindowActive(&h->window));
    }
    void cleanup() { delete h; }

    void buttonStatesFollowTheFields();
    void eachBoxGivesItsOwnOption();
    void browseAsksTheDialogsAndFillsTheFields();
    void tabOrderSkipsFramesAndDisabledButtons();
    void layoutAndCaptionsFit();
    void buttonsHandTheirFieldsToTheCore();
    void dropsFillTheFieldThatFits();
    void aFolderGivenAtStartIsExplained();

private:
    QString enabledActions() {
        QString states;
        for (const char* name : {"Command2", "Command5", "Command6"}) {
            states += h->control(name)->isEnabled() ? u'1' : u'0';
        }
        return states;
    }
    MainWindowHarness* h = nullptr;
};

void MainWindowQtTest::buttonStatesFollowTheFields() {
    // The rules are the core's; this is the wiring: both fields' changes, and
    // each button shown as the rules say.
    QCOMPARE(enabledActions(), "000");
    QTest::keyClicks(h->control("Text1"), "a");
    QCOMPARE(enabledActions(), "001");
    QTest::keyClicks(h->control("Text2"), " ");
    QCOMPARE(enabledActions(), "111");
}

void MainWindowQtTest::tabOrderSkipsFramesAndDisabledButtons() {
    const auto after = [this](const char* name) {
        h->control(name)->setFocus();
        QTest::keyClick(h->window.windowHandle(), Qt::Key_Tab);
        return QApplication::focusWidget()->objectName();
    };
    QCOMPARE(QApplication::focusWidget()->objectName(), "Command1");
    QStringList visited;
    for (const char* name :
         {"Command1", "Text1", "Command3", "Command4", "Text2", "Check1", "Check2", "Check3"}) {
        visited << after(name);
    }
    QCOMPARE(visited, (QStringList{"Text1", "Command3", "Command4", "Text2", "Check1", "Check2",
                                   "Check3", "Command1"}));
    QTest::keyClicks(h->control("Text2"), "/o");
    visited.clear();
    for (const char* name : {"Text1", "Check1", "Command5", "Command6", "Check3"}) {
        visited << after(name);
    }
    QCOMPARE(visited, (QStringList{"Command2", "Command5", "Command6", "Check2", "Command1"}));
}

void MainWindowQtTest::layoutAndCaptionsFit() {
    // A few controls in device-independent pixels, 15 twips to a pixel.
    QCOMPARE(h->window.size(), QSize(312, 398));
    QCOMPARE(h->control("Command6")->geometry(), QRect(240, 256, 65, 41));
    QCOMPARE(h->control("Text2")->geometry(), QRect(16, 16, 265, 19));
    QCOMPARE(h->control("Text2")->parentWidget(), h->control("Frame2"));
    QCOMPARE(h->control<QPushButton>("Command2")->text(), "&Extract all files");
    // Every caption is drawn whole inside its control.
    for (auto* button : h->window.findChildren<CaptionButton*>()) QVERIFY(CaptionFits(button));
    for (auto* box : h->window.findChildren<CaptionCheckBox*>()) QVERIFY(CaptionFits(box));
    for (auto* frame : h->window.findChildren<QGroupBox*>()) {
        QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width() - 16);
    }
}

void MainWindowQtTest::buttonsHandTheirFieldsToTheCore() {
    // A first Convert cancelled writes the empty name over the empty field:
    // still a change, so every action becomes enabled.
    QTest::keyClicks(h->control("Text1"), "/sets/My Movie.pdi");
    QTest::mouseClick(h->control("Command6"), Qt::LeftButton);
    QCOMPARE(enabledActions(), "111");
    QTest::mouseClick(h->control("Command5"), Qt::LeftButton);
    QCOMPARE(h->steps.steps, (std::vector<std::string>{"wait 1000", "open, watching pdixtract"}));
    QCOMPARE(h->launcher.launches.back(),
             (RecordingLauncher::Launch{u"pdixtract -gb /run/pdilist.txt \"/sets/My Movie.pdi\"",
                                        WindowStyle::MinimizedActive}));
}

void MainWindowQtTest::eachBoxGivesItsOwnOption() {
    QTest::keyClicks(h->control("Text1"), "/s.pdi");
    QTest::keyClicks(h->control("Text2"), "/o");
    const struct {
        const char* box;
        std::u16string_view prefix;
        WindowStyle style;
    } rows[] = {
        {"Check1", u"pdixtract -r -m ", WindowStyle::MaximizedActive},
        {"Check2", u"pdixtract -v -m ", WindowStyle::MaximizedActive},
        {"Check3", u"pdixtract -m ", WindowStyle::MinimizedActive},
    };
    for (const auto& row : rows) {
        // Ticked by a click on its caption, and again to untick it.
        const QPoint caption(60, 20);
        QTest::mouseClick(h->control(row.box), Qt::LeftButton, {}, caption);
        QTest::mouseClick(h->control("Command2"), Qt::LeftButton);
        QTest::mouseClick(h->control(row.box), Qt::LeftButton, {}, caption);
        QCOMPARE(h->launcher.launches.back(),
                 (RecordingLauncher::Launch{std::u16string(row.prefix) + u"\"/o\" \"/s.pdi\"",
                                            row.style}));
    }
}

void MainWindowQtTest::browseAsksTheDialogsAndFillsTheFields() {
    h->dialogs.answers = {u"/sets/a.pdi", u"/films/"};
    QTest::mouseClick(h->control("Command1"), Qt::LeftButton);
    QTest::mouseClick(h->control("Command4"), Qt::LeftButton);
    QCOMPARE(h->dialogs.openRequests.at(0).startFolder, std::u16string(u"/"));
    QCOMPARE(h->control<QLineEdit>("Text1")->text(), "/sets/a.pdi");
    QCOMPARE(h->control<QLineEdit>("Text2")->text(), "/films");
    QCOMPARE(enabledActions(), "111");
}

void MainWindowQtTest::dropsFillTheFieldThatFits() {
    QTemporaryDir dir;
    QFile(dir.filePath("a.pdi")).open(QIODevice::WriteOnly);
    const QUrl file = QUrl::fromLocalFile(dir.filePath("a.pdi"));
    const QUrl folder = QUrl::fromLocalFile(dir.path() + "/");
    const struct {
        const char* field;
        QList<QUrl> urls;
        QString text;
    } rows[] = {
        {"Text1", {file}, file.toLocalFile()},
        {"Text2", {folder}, dir.path()},
        {"Text1", {folder}, ""},
        {"Text1", {QUrl::fromLocalFile(dir.filePath("gone.pdi"))}, ""},
    };
    for (const auto& row : rows) {
        auto* field = h->control<QLineEdit>(row.field);
        field->clear();
        QMimeData data;
        data.setUrls(row.urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(field, &drop);
        QCOMPARE(enter.isAccepted(), !row.text.isEmpty());
        QCOMPARE(field->text(), row.text);
    }
}

void MainWindowQtTest::aFolderGivenAtStartIsExplained() {
    h->window.openOnStart({QDir::tempPath()});
    QCOMPARE(h->dialogs.errors, std::vector<std::u16string>{u"Not a set"});
    QCOMPARE(h->control<QLineEdit>("Text1")->text(), "");
}

QTEST_MAIN(MainWindowQtTest)
#include "main_window_qt_test.moc"
