// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/selection_window_win32.h"

#include "list_file/list_file_access.h"
#include "selection_window/layout.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

// The notice: a wrapping label over the empty bottom left.
constexpr ControlLayout kNotice{
    "notice", ControlKind::Label, {}, selection_window::kNoticeRect, {}, 4, {}};

}  // namespace

SelectionWindow::SelectionWindow(SelectionWindowSeams seams, const ListFileStamp& before)
    : m_seams(std::move(seams)) {
    namespace layout = selection_window;
    const Binding controls[] = {
        {layout::kNamesField, namesField},
        {layout::kExtractButton, extractButton},
        {layout::kFileList, fileList},
        {layout::kListLabel, listLabel},
        {kNotice, m_notice},
    };
    create(layout::kWindow, controls, layout::kAccessibleNames);
    ShowWindow(namesField, SW_HIDE);
    ShowWindow(m_notice, SW_HIDE);
    SetWindowLongPtrW(m_notice, GWL_STYLE, GetWindowLongPtrW(m_notice, GWL_STYLE) | SS_NOPREFIX);
    loadList(before);
}

void SelectionWindow::loadList(const ListFileStamp& before) {
    SendMessageW(fileList, LB_RESETCONTENT, 0, 0);
    const ListFileView view =
        ViewOfListFile(ReadListFile(m_seams.listFile, before), m_seams.listFile, DecodeListText);
    std::size_t characters = 0;
    for (const std::u16string& entry : view.entries) characters += entry.size() + 1;
    // One allocation for the whole list instead of one per entry.
    SendMessageW(fileList, LB_INITSTORAGE, view.entries.size(), characters * sizeof(wchar_t));
    for (const std::u16string& entry : view.entries) {
        SendMessageW(fileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOf(entry)));
    }
    if (!view.notice.empty()) {
        SetWindowTextW(m_notice, WideOf(view.notice));
        ShowWindow(m_notice, SW_SHOWNA);
    }
}

std::vector<std::u16string> SelectionWindow::selectedEntries() const {
    // LB_GETSELITEMS gives the indices in list order, not in the order of selecting.
    const LRESULT count = SendMessageW(fileList, LB_GETSELCOUNT, 0, 0);
    std::vector<int> indices(static_cast<std::size_t>(count > 0 ? count : 0));
    if (!indices.empty()) {
        const LRESULT got = SendMessageW(fileList, LB_GETSELITEMS, indices.size(),
                                         reinterpret_cast<LPARAM>(indices.data()));
        indices.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    }
    std::vector<std::u16string> entries;
    for (const int index : indices) {
        const LRESULT length = SendMessageW(fileList, LB_GETTEXTLEN, index, 0);
        std::u16string text(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
        const LRESULT copied =
            SendMessageW(fileList, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        entries.push_back(std::move(text));
    }
    return entries;
}

void SelectionWindow::setNamesText(const std::u16string& text) {
    SetWindowTextW(namesField, WideOf(text));
}

std::u16string SelectionWindow::namesText() const {
    return WindowText(namesField);
}

void SelectionWindow::onCommand(HWND control, int code) {
    if (control == extractButton && code == BN_CLICKED) ExtractSelected(m_seams, *this);
}

SelectionWindowKeeper::SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs) {}

void SelectionWindowKeeper::showOrRaise(MainWindowFields& mainWindow,
                                        const std::u16string& listFile,
                                        const ListFileStamp& before) {
    if (!m_window || !m_window->hwnd()) {
        m_window = std::make_unique<SelectionWindow>(
            SelectionWindowSeams{mainWindow, m_launcher, m_dialogs, listFile}, before);
        ShowWindow(m_window->hwnd(), SW_SHOW);
    } else if (IsIconic(m_window->hwnd())) {
        ShowWindow(m_window->hwnd(), SW_RESTORE);
    }
    SetForegroundWindow(m_window->hwnd());
}

}  // namespace zelvorn
