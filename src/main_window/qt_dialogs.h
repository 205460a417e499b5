#pragma once

#include "dialogs.h"

class QWidget;

// The real dialogs: message boxes and file dialogs owned by the main window.
// The file dialogs are the desktop's own when its platform theme offers them
// and Qt's own elsewhere; on a platform without a desktop (offscreen,
// minimal: where the tests run) always Qt's own.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : m_owner(owner) {}
    // The window the dialogs are modal to; set once it exists.
    void setOwner(QWidget* owner) { m_owner = owner; }

    void showError(const QString& title, const QString& text) override;
    std::optional<QString> chooseFileToOpen(const OpenFileRequest& request) override;
    std::optional<QString> chooseFolder(const QString& title) override;
    std::optional<QString> chooseFileToSave(const QString& startName,
                                            const QList<FileFilter>& filters) override;
    bool askYesNo(const QString& title, const QString& text) override;

private:
    QWidget* m_owner;
};
