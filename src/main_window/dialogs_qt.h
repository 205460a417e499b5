// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "actions/dialogs.h"

class QWidget;

namespace zelvorn {

// The real dialogs: message boxes and file dialogs owned by the main window.
// The file dialogs are the desktop's own when its platform theme offers them
// and Qt's own elsewhere; on a platform without a desktop (offscreen,
// minimal: where the tests run) always Qt's own.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : m_owner(owner) {}
    // The window the dialogs are modal to; set once it exists.
    void setOwner(QWidget* owner) { m_owner = owner; }

    void showError(const std::u16string& title, const std::u16string& text) override;
    std::optional<std::u16string> chooseFileToOpen(const OpenFileRequest& request) override;
    std::optional<std::u16string> chooseFolder(const std::u16string& title) override;
    std::optional<std::u16string> chooseFileToSave(const std::u16string& startName,
                                                   const std::vector<FileFilter>& filters) override;
    bool askYesNo(const std::u16string& title, const std::u16string& text) override;

private:
    QWidget* m_owner;
};

}  // namespace zelvorn
