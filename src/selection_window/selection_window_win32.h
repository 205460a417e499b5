// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "actions/list_and_choose.h"
#include "selection_window/extract_selected.h"
#include "window_kit/window_look_win32.h"

namespace zelvorn {

// The file selection window, "List files", in the system's standard
// controls: the entries of the list file, read
// once when the window is made, and "Extract file(s)", which extracts the
// selected ones with the main window's paths and boxes as they are at the
// press. A short notice at the bottom left says when the list file was
// missing, stale or unreadable, or entries were left out.
class SelectionWindow : public ClassicWindow, public SelectionList {
public:
    // `before` is the list file as it was before the list command started.
    SelectionWindow(SelectionWindowSeams seams, const ListFileStamp& before);

    std::vector<std::u16string> selectedEntries() const override;
    void setNamesText(const std::u16string& text) override;
    std::u16string namesText() const override;

    HWND fileList = nullptr;       // the entries, extended selection
    HWND extractButton = nullptr;  // "&Extract file(s)"
    HWND namesField = nullptr;     // hidden; carries the names text
    HWND listLabel = nullptr;      // "Choose which file(s) you want to extract:"

protected:
    void onCommand(HWND control, int code) override;

private:
    void loadList(const ListFileStamp& before);

    SelectionWindowSeams m_seams;
    HWND m_notice = nullptr;
};

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and forgets it once the user has closed it.
class SelectionWindowKeeper : public SelectionWindowOpener {
public:
    SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs);

    void showOrRaise(MainWindowFields& mainWindow, const std::u16string& listFile,
                     const ListFileStamp& before) override;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    std::unique_ptr<SelectionWindow> m_window;
};

}  // namespace zelvorn
