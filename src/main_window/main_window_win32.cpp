// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window_win32.h"

#include "actions/extract_all.h"
#include "main_window/layout.h"
#include "main_window/pickers.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

// Windows' drive root, where the open dialog starts.
constexpr std::u16string_view kRootFolder = u"C:\\";

}  // namespace

Form1::Form1(Launcher& launcher, Dialogs& dialogs, Wait& wait,
             SelectionWindowOpener& selectionWindow, ListFileLocation listFile)
    : m_launcher(launcher),
      m_dialogs(dialogs),
      m_wait(wait),
      m_selectionWindow(selectionWindow),
      m_listFile(std::move(listFile)) {
    const Binding controls[] = {
        {form1::Command6, Command6}, {form1::Command5, Command5}, {form1::Check3, Check3},
        {form1::Check2, Check2},     {form1::Check1, Check1},     {form1::Command4, Command4},
        {form1::Text2, Text2},       {form1::Command3, Command3}, {form1::Command2, Command2},
        {form1::Text1, Text1},       {form1::Command1, Command1}, {form1::Frame3, Frame3},
        {form1::Frame2, Frame2},     {form1::Frame1, Frame1},
    };
    create(form1::kWindow, controls);
    Form_Load();
}

std::u16string Form1::sourcePath() const {
    return WindowText(Text1);
}

std::u16string Form1::destinationPath() const {
    return WindowText(Text2);
}

void Form1::setDestinationPath(const std::u16string& path) {
    // A single-line field sends EN_CHANGE for every WM_SETTEXT, unchanged
    // text included, so the change handler runs for each write.
    SetWindowTextW(Text2, WideOf(path));
}

OptionFlags Form1::optionFlags() const {
    // BST_UNCHECKED is 0 and BST_CHECKED 1; the third state, 2, matches no row.
    const auto value = [](HWND box) {
        return static_cast<int>(SendMessageW(box, BM_GETCHECK, 0, 0));
    };
    return {value(Check1), value(Check2), value(Check3)};
}

void Form1::onCommand(HWND control, int code) {
    if (code == EN_CHANGE) {
        if (control == Text1) Text1_Change();
        if (control == Text2) Text2_Change();
        return;
    }
    if (code != BN_CLICKED) return;
    if (control == Command1) Command1_Click();
    if (control == Command2) Command2_Click();
    if (control == Command3) Command3_Click();
    if (control == Command4) Command4_Click();
    if (control == Command5) Command5_Click();
    if (control == Command6) Command6_Click();
}

void Form1::onClose() {
    ShowWindow(hwnd(), SW_HIDE);
    QuitWhenNoWindowShown();
}

void Form1::Form_Load() {
    if (GetWindowTextLengthW(Text1) == 0) {
        EnableWindow(Command2, FALSE);
        EnableWindow(Command5, FALSE);
        EnableWindow(Command6, FALSE);
    }
    if (GetWindowTextLengthW(Text2) == 0) {
        EnableWindow(Command2, FALSE);
        EnableWindow(Command5, FALSE);
    }
}

void Form1::Text1_Change() {
    EnableWindow(Command6, TRUE);
}

void Form1::Text2_Change() {
    EnableWindow(Command2, TRUE);
    EnableWindow(Command5, TRUE);
    EnableWindow(Command6, TRUE);
}

void Form1::Command1_Click() {
    if (const auto chosen = m_dialogs.chooseFileToOpen(SourceFileRequest(kRootFolder))) {
        SetWindowTextW(Text1, WideOf(SourceFieldText(*chosen)));
    }
}

void Form1::Command2_Click() {
    ExtractAll(*this, m_launcher, m_dialogs);
}

void Form1::Command3_Click() {
    // Ends the whole program, the file selection window included; extractors
    // already started are separate processes and keep running.
    PostQuitMessage(0);
}

void Form1::Command4_Click() {
    if (const auto chosen = m_dialogs.chooseFolder(std::u16string(kFolderBrowserTitle))) {
        setDestinationPath(*chosen);
    }
}

void Form1::Command5_Click() {
    ListAndChoose(*this, m_launcher, m_dialogs, m_wait, m_selectionWindow, m_listFile);
}

void Form1::Command6_Click() {
    ConvertToIso(*this, m_launcher, m_dialogs, CommonDialog1);
}

}  // namespace zelvorn
