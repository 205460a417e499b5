// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "actions/list_and_choose.h"
#include "selection_window/extract_selected.h"

namespace zelvorn {

// The file selection window, "List files", in Qt widgets: the entries of the
// list file, read once when the window is made, and "Extract file(s)", which
// extracts the selected ones with the main window's paths and boxes as they
// are at the press. A short notice at the bottom left says when the list
// file was missing, stale or unreadable, or entries were left out.
class SelectionWindow : public QWidget, public SelectionList {
    Q_OBJECT
public:
    // `before` is the list file as it was before the list command started.
    SelectionWindow(SelectionWindowSeams seams, const ListFileStamp& before,
                    QWidget* parent = nullptr);

    // The notice line; empty and hidden when there is nothing to say.
    QLabel* notice() const { return m_notice; }

    std::vector<std::u16string> selectedEntries() const override;
    void setNamesText(const std::u16string& text) override;
    std::u16string namesText() const override;

    QListWidget* fileList;       // the entries, extended selection
    QPushButton* extractButton;  // "&Extract file(s)"
    QLineEdit* namesField;       // hidden; carries the names text
    QLabel* listLabel;           // "Choose which file(s) you want to extract:"

private:
    void loadList(const ListFileStamp& before);

    SelectionWindowSeams m_seams;
    QLabel* m_notice;
};

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and discards it when the user closes it.
class SelectionWindowKeeper : public SelectionWindowOpener {
public:
    SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs);
    // Closes a window still open when the program ends.
    ~SelectionWindowKeeper() override;

    void showOrRaise(MainWindowFields& mainWindow, const std::u16string& listFile,
                     const ListFileStamp& before) override;

    // The open window, or null.
    SelectionWindow* window() const;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    QPointer<SelectionWindow> m_window;
};

}  // namespace zelvorn
