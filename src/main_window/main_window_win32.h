// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <span>

#include "main_window/main_window_controller.h"
#include "window_kit/window_look_win32.h"

namespace zelvorn {

// The main window, "ZELVORN 0.7", in the system's standard controls. What the
// controls do is MainWindowController's; this class makes the controls and
// forwards their notifications.
class MainWindow : public ClassicWindow, public MainWindowView {
public:
    explicit MainWindow(const MainWindowSeams& seams);

    // Opens the set named by the program's arguments (after the program's
    // own name), or says why not; called once the window is shown.
    void openOnStart(std::span<const wchar_t* const> arguments);

    std::u16string sourcePath() const override;
    std::u16string destinationPath() const override;
    OptionBoxes optionBoxes() const override;
    // Both run the field's change handler through its EN_CHANGE, even for the same text.
    void setSourcePath(const std::u16string& path) override;
    void setDestinationPath(const std::u16string& path) override;
    void showButtonStates(const ActionButtonStates& states) override;
    void quit() override;

    HWND sourceField = nullptr;
    HWND destinationField = nullptr;
    HWND sourceBrowseButton = nullptr;
    HWND destinationBrowseButton = nullptr;
    HWND deleteAfterBox = nullptr;
    HWND videoTsBox = nullptr;
    HWND minimizeBox = nullptr;
    HWND convertToIsoButton = nullptr;
    HWND extractFilesButton = nullptr;
    HWND extractAllButton = nullptr;
    HWND exitButton = nullptr;
    HWND sourceFrame = nullptr;
    HWND destinationFrame = nullptr;
    HWND optionsFrame = nullptr;

protected:
    void onCommand(HWND control, int code) override;
    // Only hides the window: an open file selection window still reads its
    // fields, and the program ends when no window is left.
    void onClose() override;
    // A drop onto either field fills it as its Browse button would.
    void onDropFiles(HDROP drop) override;

private:
    MainWindowController m_controller;
};

}  // namespace zelvorn
