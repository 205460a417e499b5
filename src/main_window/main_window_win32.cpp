// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window_win32.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "main_window/layout.h"
#include "window_kit/system_library_win32.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

BoxState StateOf(HWND box) {
    switch (SendMessageW(box, BM_GETCHECK, 0, 0)) {
        case BST_UNCHECKED:
            return BoxState::Unchecked;
        case BST_CHECKED:
            return BoxState::Checked;
        default:
            return BoxState::Indeterminate;
    }
}

// A path as the main window's rules see it: made whole against the current
// folder, and what it names.
PathItem PathItemOf(const wchar_t* path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path, length, full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) return {};
    full.resize(length);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    const PathKind kind = attributes == INVALID_FILE_ATTRIBUTES   ? PathKind::Missing
                          : attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder
                                                                  : PathKind::File;
    return {std::u16string(U16Of(full)), kind};
}

}  // namespace

MainWindow::MainWindow(const MainWindowSeams& seams) : m_controller(*this, seams) {
    namespace layout = main_window;
    const Binding controls[] = {
        {layout::kConvertToIsoButton, convertToIsoButton},
        {layout::kExtractFilesButton, extractFilesButton},
        {layout::kMinimizeBox, minimizeBox},
        {layout::kVideoTsBox, videoTsBox},
        {layout::kDeleteAfterBox, deleteAfterBox},
        {layout::kDestinationBrowseButton, destinationBrowseButton},
        {layout::kDestinationField, destinationField},
        {layout::kExitButton, exitButton},
        {layout::kExtractAllButton, extractAllButton},
        {layout::kSourceField, sourceField},
        {layout::kSourceBrowseButton, sourceBrowseButton},
        {layout::kOptionsFrame, optionsFrame},
        {layout::kDestinationFrame, destinationFrame},
        {layout::kSourceFrame, sourceFrame},
    };
    create(layout::kWindow, controls, layout::kAccessibleNames);
    // What DragAcceptFiles sets, without loading shell32 at start.
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE,
                      GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    m_controller.onLoad();
}

void MainWindow::openOnStart(std::span<const wchar_t* const> arguments) {
    std::vector<PathItem> items;
    for (const wchar_t* argument : arguments) items.push_back(PathItemOf(argument));
    m_controller.onStart(items);
}

std::u16string MainWindow::sourcePath() const {
    return WindowText(sourceField);
}

std::u16string MainWindow::destinationPath() const {
    return WindowText(destinationField);
}

OptionBoxes MainWindow::optionBoxes() const {
    return {StateOf(deleteAfterBox), StateOf(videoTsBox), StateOf(minimizeBox)};
}

// A single-line field sends EN_CHANGE for every WM_SETTEXT, unchanged text
// included, so the change handler runs for each write.
void MainWindow::setSourcePath(const std::u16string& path) {
    SetWindowTextW(sourceField, WideOf(path));
}

void MainWindow::setDestinationPath(const std::u16string& path) {
    SetWindowTextW(destinationField, WideOf(path));
}

void MainWindow::showButtonStates(const ActionButtonStates& states) {
    EnableWindow(extractAllButton, states.extractAll);
    EnableWindow(extractFilesButton, states.extractFiles);
    EnableWindow(convertToIsoButton, states.convertToIso);
}

void MainWindow::quit() {
    PostQuitMessage(0);
}

void MainWindow::onCommand(HWND control, int code) {
    if (code == EN_CHANGE) {
        if (control == sourceField) m_controller.onSourceChanged();
        if (control == destinationField) m_controller.onDestinationChanged();
        return;
    }
    if (code != BN_CLICKED) return;
    for (const PressHandler& press : kPressHandlers) {
        if (control == controlNamed(press.control)) (m_controller.*press.handler)();
    }
}

void MainWindow::onDropFiles(HDROP drop) {
    static const auto queryFile =
        SystemFunction<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static const auto queryPoint =
        SystemFunction<decltype(&DragQueryPoint)>(L"shell32.dll", "DragQueryPoint");
    POINT point{};
    if (!queryFile || !queryPoint || !queryPoint(drop, &point)) return;
    // The window takes the drop; the field under the pointer is its target.
    const HWND target =
        ChildWindowFromPointEx(hwnd(), point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (target != sourceField && target != destinationField) return;
    std::vector<PathItem> items;
    const UINT count = queryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(queryFile(drop, i, nullptr, 0), L'\0');
        queryFile(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        items.push_back(PathItemOf(path.c_str()));
    }
    m_controller.onDrop(
        target == sourceField ? DropTarget::SourceField : DropTarget::DestinationField, items);
}

void MainWindow::onClose() {
    ShowWindow(hwnd(), SW_HIDE);
    QuitWhenNoWindowShown();
}

}  // namespace zelvorn
