// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/selection_window_win32.h"

#include <map>

#include "selection_window/layout.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

// The notice: a wrapping label over the empty bottom left.
constexpr ControlLayout kNotice{
    "notice", ControlKind::Label, {}, selection_window::kNoticeRect, {}, 4, {}};
// The message in the list's place: text to read, select and copy.
constexpr ControlLayout kMessage{
    "message", ControlKind::Note, {}, selection_window::kMessageRect, {}, 5, {}};

// An edit control breaks lines only at CR LF.
std::u16string WithWindowsLineEnds(const std::u16string& text) {
    std::u16string lines;
    for (const char16_t c : text) {
        if (c == u'\n') lines += u'\r';
        lines += c;
    }
    return lines;
}

}  // namespace

SelectionWindow::SelectionWindow(SelectionWindowSeams seams, ListRequest request, Pulse& pulse)
    : m_seams(seams),
      m_watch(std::move(request), pulse, [this](const ListFileView& view) { showView(view); }) {
    namespace layout = selection_window;
    const Binding controls[] = {
        {layout::kNamesField, namesField},
        {layout::kExtractButton, extractButton},
        {layout::kFileList, fileList},
        {layout::kListLabel, listLabel},
        {kNotice, m_notice},
        {kMessage, m_message},
    };
    create(layout::kWindow, controls, layout::kAccessibleNames);
    ShowWindow(namesField, SW_HIDE);
    ShowWindow(m_notice, SW_HIDE);
    ShowWindow(m_message, SW_HIDE);
    SetWindowLongPtrW(m_notice, GWL_STYLE, GetWindowLongPtrW(m_notice, GWL_STYLE) | SS_NOPREFIX);
    m_watch.start();
}

void SelectionWindow::onClose() {
    m_watch.stop();
    ClassicWindow::onClose();
}

void SelectionWindow::showView(const ListFileView& view) {
    SendMessageW(fileList, LB_RESETCONTENT, 0, 0);
    std::size_t characters = 0;
    for (const std::u16string& entry : view.entries) characters += entry.size() + 1;
    // One allocation for the whole list instead of one per entry.
    SendMessageW(fileList, LB_INITSTORAGE, view.entries.size(), characters * sizeof(wchar_t));
    for (const std::u16string& entry : view.entries) {
        SendMessageW(fileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOf(entry)));
    }
    const bool inListsPlace = view.noticeInListsPlace();
    SetWindowTextW(inListsPlace ? m_message : m_notice, WideOf(WithWindowsLineEnds(view.notice)));
    ShowWindow(m_notice, !inListsPlace && !view.notice.empty() ? SW_SHOWNA : SW_HIDE);
    // The focus moves with the list's place and never falls to the button,
    // where Enter would extract everything.
    const HWND shown = inListsPlace ? m_message : fileList;
    const HWND hidden = inListsPlace ? fileList : m_message;
    ShowWindow(shown, SW_SHOWNA);
    if (focusedControl() == hidden) focusControl(shown);
    ShowWindow(hidden, SW_HIDE);
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

namespace {

// The running pulses by timer, for the timer's callback, which has no other context.
std::map<UINT_PTR, TimerPulse*> g_pulses;

}  // namespace

TimerPulse::~TimerPulse() {
    stop();
}

void TimerPulse::start(std::function<void()> beat) {
    stop();
    m_beat = std::move(beat);
    m_timer = SetTimer(nullptr, 0, kListLookIntervalMs, &Beat);
    g_pulses[m_timer] = this;
}

void TimerPulse::stop() {
    if (m_timer == 0) return;
    KillTimer(nullptr, m_timer);
    g_pulses.erase(m_timer);
    m_timer = 0;
}

void CALLBACK TimerPulse::Beat(HWND, UINT, UINT_PTR timer, DWORD) {
    const auto pulse = g_pulses.find(timer);
    if (pulse == g_pulses.end()) return;
    const auto beat = pulse->second->m_beat;  // it may stop the pulse, or start it anew
    beat();
}

SelectionWindowKeeper::SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs) {}

void SelectionWindowKeeper::showOrRaise(MainWindowFields& mainWindow, ListRequest request) {
    if (!m_window || !m_window->hwnd()) {
        // The closed window goes first, so it cannot stop the new one's pulse.
        m_window.reset();
        m_window = std::make_unique<SelectionWindow>(
            SelectionWindowSeams{mainWindow, m_launcher, m_dialogs}, std::move(request), m_pulse);
        ShowWindow(m_window->hwnd(), SW_SHOW);
    } else if (IsIconic(m_window->hwnd())) {
        ShowWindow(m_window->hwnd(), SW_RESTORE);
    }
    SetForegroundWindow(m_window->hwnd());
}

}  // namespace zelvorn
