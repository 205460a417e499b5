// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "actions/list_and_choose.h"
#include "list_file/list_file_access.h"
#include "selection_window/extract_selected.h"

namespace zelvorn {

// The file selection window, "List files", in Qt widgets: the entries of the
// list file, and "Extract file(s)", which extracts the selected ones with the
// main window's paths and boxes as they are at the press. Until the list has
// come, a message in the list's place says that it waits, and why there is
// none once its list command has ended without one; a short notice at the
// bottom left says when entries were left out or cut.
class SelectionWindow : public QWidget, public SelectionList {
    Q_OBJECT
public:
    // Waits for the list `request` names, looking again at each beat of `pulse`.
    SelectionWindow(SelectionWindowSeams seams, ListRequest request, Pulse& pulse,
                    QWidget* parent = nullptr);

    // The notice line; empty and hidden when there is nothing to say.
    QLabel* notice() const { return m_notice; }
    // The message in the list's place; hidden while the list is shown.
    QLabel* message() const { return m_message; }

    std::vector<std::u16string> selectedEntries() const override;
    void setNamesText(const std::u16string& text) override;
    std::u16string namesText() const override;

    QListWidget* fileList;       // the entries, extended selection
    QPushButton* extractButton;  // "&Extract file(s)"
    QLineEdit* namesField;       // hidden; carries the names text
    QLabel* listLabel;           // "Choose which file(s) you want to extract:"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showView(const ListFileView& view);

    SelectionWindowSeams m_seams;
    ListWatch m_watch;
    QLabel* m_notice;
    QLabel* m_message;
};

// The real pulse: a timer of the user-interface thread's event loop.
class TimerPulse : public Pulse {
public:
    void start(std::function<void()> beat) override;
    void stop() override;

private:
    QTimer m_timer;
};

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and discards it when the user closes it.
class SelectionWindowKeeper : public SelectionWindowOpener {
public:
    // Its windows look again at each beat of `pulse`; by default a timer's.
    SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs, Pulse& pulse);
    SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs);
    // Closes a window still open when the program ends.
    ~SelectionWindowKeeper() override;

    void showOrRaise(MainWindowFields& mainWindow, ListRequest request) override;

    // The open window, or null.
    SelectionWindow* window() const;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    TimerPulse m_timerPulse;  // made before m_pulse may name it
    Pulse& m_pulse;
    QPointer<SelectionWindow> m_window;
};

}  // namespace zelvorn
