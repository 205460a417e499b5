// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>

#include "main_window_harness.h"
#include "window_kit/caption_controls_qt.h"

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

    void buttonsFollowTheFieldsAndHandThemToTheCore() {
        // The rules are the core's; this is the wiring: each field's changes, each
        // button shown as the rules say, and what a press hands to the core.
        QCOMPARE(enabledActions(), "000");
        h->dialogs.answers = {u"/sets/My Movie.pdi", std::nullopt, u"/films/"};
        QTest::mouseClick(h->control("Command1"), Qt::LeftButton);
        QCOMPARE(h->dialogs.openRequests.at(0).startFolder, std::u16string(u"/"));
        QCOMPARE(enabledActions(), "001");
        // A first Convert cancelled writes the empty name over the empty field:
        // still a change, so every action becomes enabled.
        QTest::mouseClick(h->control("Command6"), Qt::LeftButton);
        QCOMPARE(enabledActions(), "111");
        QTest::mouseClick(h->control("Command4"), Qt::LeftButton);
        QCOMPARE(h->control<QLineEdit>("Text2")->text(), "/films");
        QTest::mouseClick(h->control("Command5"), Qt::LeftButton);
        QCOMPARE(h->steps.steps,
                 (std::vector<std::string>{"wait 1000", "open, watching pdixtract"}));
        QCOMPARE(
            h->launcher.launches.back(),
            (RecordingLauncher::Launch{u"pdixtract -gb /run/pdilist.txt \"/sets/My Movie.pdi\"",
                                       WindowStyle::MinimizedActive}));
    }

    void eachBoxGivesItsOwnOption() {
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

    void tabWalksTheControlsInTheirOrder() {
        // From the first Browse, where the window puts the focus, round to it again.
        QTest::keyClicks(h->control("Text2"), "/o");  // every button enabled
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(h->window.windowHandle(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited,
                 (QStringList{"Command1", "Text1", "Command2", "Command3", "Command4", "Text2",
                              "Check1", "Command5", "Command6", "Check2", "Check3", "Command1"}));
    }

    void layoutAndCaptionsFit() {
        // A few controls in device-independent pixels, 15 twips to a pixel.
        QCOMPARE(h->window.size(), QSize(312, 398));
        QCOMPARE(h->control("Command6")->geometry(), QRect(240, 256, 65, 41));
        QCOMPARE(h->control("Text2")->geometry(), QRect(16, 16, 265, 19));
        QCOMPARE(h->control("Text2")->parentWidget(), h->control("Frame2"));
        // Every caption is drawn whole inside its control.
        for (auto* button : h->window.findChildren<CaptionButton*>()) QVERIFY(CaptionFits(button));
        for (auto* box : h->window.findChildren<CaptionCheckBox*>()) QVERIFY(CaptionFits(box));
        for (auto* frame : h->window.findChildren<QGroupBox*>())
            QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width() - 16);
    }

    void dropsFillTheFieldThatFits() {
        // Any file may be dropped as the set: this test's own program is one.
        const QString file = QCoreApplication::applicationFilePath(), folder = QDir::tempPath();
        const struct {
            const char* field;
            QString dropped, text;
        } rows[] = {{"Text1", file, file}, {"Text2", folder + "/", folder}, {"Text1", folder, ""}};
        for (const auto& row : rows) {
            auto* field = h->control<QLineEdit>(row.field);
            field->clear();
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(row.dropped)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(field, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(field, &drop);
            QCOMPARE(enter.isAccepted(), !row.text.isEmpty());
            QCOMPARE(field->text(), row.text);
        }
    }

    void aMissingSetGivenAtStartIsExplained() {
        h->window.openOnStart({QDir::tempPath() + "/gone.pdi"});
        QCOMPARE(h->dialogs.errors, std::vector<std::u16string>{u"Set not found"});
        QCOMPARE(h->control<QLineEdit>("Text1")->text(), "");
    }

private:
    QString enabledActions() {
        QString states;
        for (const char* name : {"Command2", "Command5", "Command6"})
            states += h->control(name)->isEnabled() ? u'1' : u'0';
        return states;
    }
    MainWindowHarness* h = nullptr;
};

QTEST_MAIN(MainWindowQtTest)
#include "main_window_qt_test.moc"
