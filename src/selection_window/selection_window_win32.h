// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "actions/list_and_choose.h"
#include "list_file/list_file_access.h"
#include "selection_window/extract_selected.h"
#include "window_kit/window_look_win32.h"

namespace zelvorn {

// The file selection window, "List files", in the system's standard
// controls: the entries of the list file, and "Extract file(s)", which
// extracts the selected ones with the main window's paths and boxes as they
// are at the press. Until the list has come, a message in the list's place
// says that it waits, and why there is none once its list command has ended
// without one; a short notice at the bottom left says when entries were left
// out or cut.
class SelectionWindow : public ClassicWindow, public SelectionList {
public:
    // Waits for the list `request` names, looking again at each beat of `pulse`.
    SelectionWindow(SelectionWindowSeams seams, ListRequest request, Pulse& pulse);

    std::vector<std::u16string> selectedEntries() const override;
    void setNamesText(const std::u16string& text) override;
    std::u16string namesText() const override;

    HWND fileList = nullptr;       // the entries, extended selection
    HWND extractButton = nullptr;  // "&Extract file(s)"
    HWND namesField = nullptr;     // hidden; carries the names text
    HWND listLabel = nullptr;      // "Choose which file(s) you want to extract:"

protected:
    void onCommand(HWND control, int code) override;
    void onClose() override;

private:
    void showView(const ListFileView& view);

    SelectionWindowSeams m_seams;
    ListWatch m_watch;
    HWND m_notice = nullptr;
    HWND m_message = nullptr;
};

// The real pulse: a timer of the user-interface thread's message loop.
class TimerPulse : public Pulse {
public:
    ~TimerPulse() override;
    void start(std::function<void()> beat) override;
    void stop() override;

private:
    static void CALLBACK Beat(HWND, UINT, UINT_PTR timer, DWORD);

    UINT_PTR m_timer = 0;
    std::function<void()> m_beat;
};

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and forgets it once the user has closed it.
class SelectionWindowKeeper : public SelectionWindowOpener {
public:
    SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs);

    void showOrRaise(MainWindowFields& mainWindow, ListRequest request) override;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    TimerPulse m_pulse;
    std::unique_ptr<SelectionWindow> m_window;
};

}  // namespace zelvorn
