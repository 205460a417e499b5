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

// The file selection window, "List files": the entries of the list file, read
// once when the window is made, and "Extract file(s)", which extracts the
// selected ones with the main window's paths and boxes as they are at the
// press. A short notice at the bottom left says when the list file was
// missing, stale or unreadable, or entries were left out.
class Form2 : public QWidget, public SelectionList {
    Q_OBJECT
public:
    // `before` is the list file as it was before the list command started.
    Form2(MainWindowFields& mainWindow, Launcher& launcher, Dialogs& dialogs,
          const std::u16string& listFile, const ListFileStamp& before, QWidget* parent = nullptr);

    // The notice line; empty and hidden when there is nothing to say.
    QLabel* notice() const { return m_notice; }

    std::size_t entryCount() const override;
    std::u16string entryText(std::size_t index) const override;
    bool isSelected(std::size_t index) const override;
    void setNamesField(const std::u16string& text) override;
    std::u16string namesField() const override;

    QListWidget* List1;     // the entries, extended selection
    QPushButton* Command2;  // "&Extract file(s)" (the main window's is "&Extract all files")
    QLineEdit* Text1;       // hidden; carries the names text (the main window's is the source)
    QLabel* Label1;         // "Choose which file(s) you want to extract:"

private:
    void Form_Load(const ListFileStamp& before);
    void Command2_Click();

    MainWindowFields& m_mainWindow;
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    std::u16string m_listFile;
    QLabel* m_notice;
};

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and discards it when the user closes it.
class Form2Opener : public SelectionWindowOpener {
public:
    Form2Opener(Launcher& launcher, Dialogs& dialogs);
    // Closes a window still open when the program ends.
    ~Form2Opener() override;

    void showOrRaise(MainWindowFields& mainWindow, const std::u16string& listFile,
                     const ListFileStamp& before) override;

    // The open window, or null.
    Form2* window() const;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    QPointer<Form2> m_window;
};

}  // namespace zelvorn
