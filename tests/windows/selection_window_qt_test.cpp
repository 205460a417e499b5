// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QListWidget>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include "list_file/list_file_access.h"
#include "main_window_harness.h"
#include "selection_window/selection_window_qt.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

using namespace zelvorn;

// The file selection window over a real list file, opened and kept as the
// main window's "Extract files" asks for it.
class SelectionWindowQtTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(dir.isValid());
        list = ToU16(dir.filePath("pdilist.txt"));
        write("VIDEO_TS.IFO 12288\r\nVTS_01_1.VOB 2048\r\n");
    }

    void cleanup() { opener.reset(); }

    void opensFocusedWithNothingSelectedAndFits() {
        SelectionWindow* window = open();
        QVERIFY(window);
        QCOMPARE(QApplication::focusWidget(), window->fileList);
        QVERIFY(window->fileList->selectedItems().isEmpty());
        QVERIFY(!window->findChild<QWidget*>("Text1")->isVisible());
        QVERIFY(!window->notice()->isVisible() && !window->message()->isVisible());
        QVERIFY(!pulse.running);
        QVERIFY(CaptionFits(window->findChild<CaptionButton*>("Command2")));
    }

    void waitsUntilTheListComesOrItsCommandHasEnded() {
        const struct {
            const char* written;  // by the list command while the window waits
            std::optional<ProcessEnd> end;
            int entries;
            QString message;  // how it begins
        } rows[] = {
            {"LATE.VOB 1\r\n", std::nullopt, 1, ""},  // taken once it holds still
            // The old list is never shown.
            {nullptr, ProcessEnd{ProcessEnd::How::Exited, 3}, 0, "No list of files: pdixtract has"},
            {nullptr, std::nullopt, 0, "Waiting for pdixtract"},  // until the window is closed
        };
        for (const auto& row : rows) {
            SelectionWindow* window = open(StampListFile(list), true);
            QVERIFY(window);
            QVERIFY(window->message()->text().startsWith("Waiting for pdixtract"));
            QCOMPARE(QApplication::focusWidget(), window->message());
            if (row.written) write(row.written);
            pulse.beat();
            QVERIFY(pulse.running);
            launcher.extractorEnd = row.end;
            pulse.beat();
            QCOMPARE(pulse.running, row.message.startsWith("Waiting"));
            QCOMPARE(window->fileList->count(), row.entries);
            QCOMPARE(window->fileList->isVisible(), row.entries > 0);
            QVERIFY(window->message()->text().startsWith(row.message));
            if (row.entries > 0) QCOMPARE(QApplication::focusWidget(), window->fileList);
            window->close();
            QVERIFY(!pulse.running);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void oneWindowAtATimeReadingAfreshWhenReopened() {
        SelectionWindow* first = open();
        QVERIFY(first);
        write("NEW.VOB 1\r\n");
        QCOMPARE(open(), first);
        QCOMPARE(first->fileList->count(), 2);  // an open window keeps its list
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SelectionWindow* second = open();
        QVERIFY(second);
        QCOMPARE(second->fileList->item(0)->text(), "NEW.VOB 1");
    }

private:
    // Renamed into place, as pdixtract writes it: a new file each time.
    void write(const QByteArray& bytes) {
        QSaveFile file(ToQString(list));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                file.commit());
    }
    // Opens the window over the list command's process, which has ended
    // unless `running`.
    SelectionWindow* open(const ListFileStamp& before = {}, bool running = false) {
        if (!opener) opener = std::make_unique<SelectionWindowKeeper>(launcher, dialogs, pulse);
        launcher.extractorEnd = running ? std::nullopt : std::optional(ProcessEnd{});
        opener->showOrRaise(main, {list, before, launcher.launchWatched({}, {}).process});
        // The window comes to the front, ready for keys, each time it is asked for.
        SelectionWindow* window = opener->window();
        return window && QTest::qWaitForWindowActive(window) ? window : nullptr;
    }
    QTemporaryDir dir;
    std::u16string list;
    FakeMainWindowFields main;
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    ManualPulse pulse;
    std::unique_ptr<SelectionWindowKeeper> opener;
};

QTEST_MAIN(SelectionWindowQtTest)
#include "selection_window_qt_test.moc"
