#pragma once

#include "dialogs.h"

class QFileDialog;
class QWidget;

// Whether the file dialogs may be the desktop's own. On a platform without a
// desktop (offscreen, minimal: where the tests run) they are always Qt's own;
// elsewhere Qt asks the desktop's platform theme and falls back to its own
// when the theme offers none.
bool UseNativeDialogs(const QString& platformName);

// The text Qt's file dialogs take for one filter; shown with its details
// hidden, it reads exactly as the filter's description.
QString QtNameFilter(const FileFilter& filter);

// The real dialogs: message boxes and file dialogs owned by the main window.
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
