// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/selection_window_win32.h"

#include "selection_window/layout.h"
#include "list_file/list_file_access.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

// The notice: a wrapping label over the empty bottom left.
constexpr ControlLayout kNotice{"notice", ControlKind::Label, {}, form2::kNoticeRect, {}, 4, {}};

}  // namespace

Form2::Form2(MainWindowFields& mainWindow, Launcher& launcher, Dialogs& dialogs,
             const std::u16string& listFile, const ListFileStamp& before)
    : m_mainWindow(mainWindow), m_launcher(launcher), m_dialogs(dialogs), m_listFile(listFile) {
    const Binding controls[] = {
        {form2::Text1, Text1},   {form2::Command2, Command2}, {form2::List1, List1},
        {form2::Label1, Label1}, {kNotice, m_notice},
    };
    create(form2::kWindow, controls);
    ShowWindow(Text1, SW_HIDE);
    ShowWindow(m_notice, SW_HIDE);
    SetWindowLongPtrW(m_notice, GWL_STYLE, GetWindowLongPtrW(m_notice, GWL_STYLE) | SS_NOPREFIX);
    Form_Load(before);
}

void Form2::Form_Load(const ListFileStamp& before) {
    SendMessageW(List1, LB_RESETCONTENT, 0, 0);
    const ListFileView view =
        ViewOfListFile(ReadListFile(m_listFile, before), m_listFile, DecodeListText);
    std::size_t characters = 0;
    for (const std::u16string& entry : view.entries) characters += entry.size() + 1;
    // One allocation for the whole list instead of one per entry.
    SendMessageW(List1, LB_INITSTORAGE, view.entries.size(), characters * sizeof(wchar_t));
    for (const std::u16string& entry : view.entries) {
        SendMessageW(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOf(entry)));
    }
    if (!view.notice.empty()) {
        SetWindowTextW(m_notice, WideOf(view.notice));
        ShowWindow(m_notice, SW_SHOWNA);
    }
}

std::size_t Form2::entryCount() const {
    const LRESULT count = SendMessageW(List1, LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::u16string Form2::entryText(std::size_t index) const {
    const LRESULT length = SendMessageW(List1, LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    const LRESULT copied =
        SendMessageW(List1, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

bool Form2::isSelected(std::size_t index) const {
    return SendMessageW(List1, LB_GETSEL, index, 0) > 0;
}

void Form2::setNamesField(const std::u16string& text) {
    SetWindowTextW(Text1, WideOf(text));
}

std::u16string Form2::namesField() const {
    return WindowText(Text1);
}

void Form2::onCommand(HWND control, int code) {
    if (control == Command2 && code == BN_CLICKED) Command2_Click();
}

void Form2::Command2_Click() {
    ExtractSelected(m_mainWindow, *this, m_launcher, m_dialogs);
}

Form2Opener::Form2Opener(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs) {}

void Form2Opener::showOrRaise(MainWindowFields& mainWindow, const std::u16string& listFile,
                              const ListFileStamp& before) {
    if (!m_window || !m_window->hwnd()) {
        m_window = std::make_unique<Form2>(mainWindow, m_launcher, m_dialogs, listFile, before);
        ShowWindow(m_window->hwnd(), SW_SHOW);
    } else if (IsIconic(m_window->hwnd())) {
        ShowWindow(m_window->hwnd(), SW_RESTORE);
    }
    SetForegroundWindow(m_window->hwnd());
}

}  // namespace zelvorn
