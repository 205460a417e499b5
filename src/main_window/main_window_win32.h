// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "actions/convert_to_iso.h"
#include "actions/list_and_choose.h"
#include "window_kit/window_look_win32.h"

namespace zelvorn {

// The main window, "ZELVORN 0.7": the source and destination fields, their
// Browse buttons, three option boxes and the actions. The controls keep the
// program's own names, so the handlers read like the behaviour they implement.
class Form1 : public ClassicWindow, public MainWindowFields {
public:
    // "Extract files" pauses with `wait` and opens the file selection window
    // through `selectionWindow`; the list file lies at `listFile`.
    Form1(Launcher& launcher, Dialogs& dialogs, Wait& wait, SelectionWindowOpener& selectionWindow,
          ListFileLocation listFile);

    std::u16string sourcePath() const override;
    std::u16string destinationPath() const override;
    // Runs Text2_Change through the field's EN_CHANGE, even for the same text.
    void setDestinationPath(const std::u16string& path) override;
    OptionFlags optionFlags() const override;

    HWND Command1 = nullptr;  // "&Browse" for the source
    HWND Command2 = nullptr;  // "&Extract all files" (the list window's is "&Extract file(s)")
    HWND Command3 = nullptr;  // "E&xit"
    HWND Command4 = nullptr;  // "Browse" for the destination
    HWND Command5 = nullptr;  // "Extract &files"
    HWND Command6 = nullptr;  // "&Convert to Iso"
    HWND Text1 = nullptr;     // source: the chosen .pdi file (the list window's is hidden)
    HWND Text2 = nullptr;     // destination folder
    HWND Check1 = nullptr;    // "Delete PDI-files after processing"
    HWND Check2 = nullptr;    // "Create VIDEO_TS directory"
    HWND Check3 = nullptr;    // "Minimize pdixtract when processing"
    HWND Frame1 = nullptr;    // "Path to .pdi files:"
    HWND Frame2 = nullptr;    // "Destination folder:"
    HWND Frame3 = nullptr;    // "PDI options:"

    // The Save As dialog of "&Convert to Iso", kept for the whole run.
    SaveAsDialog CommonDialog1;

protected:
    void onCommand(HWND control, int code) override;
    // Only hides the window: an open file selection window still reads its
    // fields, and the program ends when no window is left.
    void onClose() override;

private:
    void Form_Load();
    void Text1_Change();
    void Text2_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

    Launcher& m_launcher;
    Dialogs& m_dialogs;
    Wait& m_wait;
    SelectionWindowOpener& m_selectionWindow;
    ListFileLocation m_listFile;
};

}  // namespace zelvorn
