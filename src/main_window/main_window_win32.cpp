// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window_win32.h"

#include "main_window/layout.h"
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
    create(layout::kWindow, controls);
    m_controller.onLoad();
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

void MainWindow::onClose() {
    ShowWindow(hwnd(), SW_HIDE);
    QuitWhenNoWindowShown();
}

}  // namespace zelvorn
