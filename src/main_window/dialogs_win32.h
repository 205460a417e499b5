// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "actions/dialogs.h"

namespace zelvorn {

// The real dialogs, modal to the window the user pressed in: the system's
// message boxes, its ANSI open dialog and folder browser, its wide Save As.
// A dialog whose DLL cannot be loaded says so and counts as cancelled.
class Win32Dialogs : public Dialogs {
public:
    // The window the dialogs are modal to when none of the program's windows
    // is active; set once it exists.
    void setOwner(HWND owner) { m_owner = owner; }

    void showError(const std::u16string& title, const std::u16string& text) override;
    // GetOpenFileNameA with the record in its 4.0 size and no flags; the
    // chosen path comes back as the dialog's buffer holds it up to its NUL.
    std::optional<std::u16string> chooseFileToOpen(const OpenFileRequest& request) override;
    // SHBrowseForFolderA from the desktop with no flags, then
    // SHGetPathFromIDListA; a drive root comes back as "C:\".
    std::optional<std::u16string> chooseFolder(const std::u16string& title) override;
    // GetSaveFileNameW with the platform's own title and folder and no
    // overwrite prompt.
    std::optional<std::u16string> chooseFileToSave(const std::u16string& startName,
                                                   const std::vector<FileFilter>& filters) override;
    // MessageBoxW with Yes and No only (Yes the default, no icon).
    bool askYesNo(const std::u16string& title, const std::u16string& text) override;

private:
    HWND owner() const;

    HWND m_owner = nullptr;
};

}  // namespace zelvorn
