// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>

#include "actions/list_and_choose.h"
#include "selection_window/extract_selected.h"
#include "window_kit/window_look_win32.h"

namespace zelvorn {

// The file selection window, "List files": the entries of the list file, read
// once when the window is made, and "Extract file(s)", which extracts the
// selected ones with the main window's paths and boxes as they are at the
// press. A short notice at the bottom left says when the list file was
// missing, stale or unreadable, or entries were left out.
class Form2 : public ClassicWindow, public SelectionList {
public:
    // `before` is the list file as it was before the list command started.
    Form2(MainWindowFields& mainWindow, Launcher& launcher, Dialogs& dialogs,
          const std::u16string& listFile, const ListFileStamp& before);

    std::size_t entryCount() const override;
    std::u16string entryText(std::size_t index) const override;
    bool isSelected(std::size_t index) const override;
    void setNamesField(const std::u16string& text) override;
    std::u16string namesField() const override;

    HWND List1 = nullptr;     // the entries, extended selection
    HWND Command2 = nullptr;  // "&Extract file(s)" (the main window's is "&Extract all files")
    HWND Text1 = nullptr;     // hidden; carries the names text (the main window's is the source)
    HWND Label1 = nullptr;    // "Choose which file(s) you want to extract:"

protected:
    void onCommand(HWND control, int code) override;

private:
    void Form_Load(const ListFileStamp& before);
    void Command2_Click();

    MainWindowFields& m_mainWindow;
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    std::u16string m_listFile;
    HWND m_notice = nullptr;
};

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and forgets it once the user has closed it.
class Form2Opener : public SelectionWindowOpener {
public:
    Form2Opener(Launcher& launcher, Dialogs& dialogs);

    void showOrRaise(MainWindowFields& mainWindow, const std::u16string& listFile,
                     const ListFileStamp& before) override;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    std::unique_ptr<Form2> m_window;
};

}  // namespace zelvorn
