#pragma once

#include "dialogs.h"

class QWidget;

// The real dialogs: message boxes and file dialogs owned by the main window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : m_owner(owner) {}
    // The window the dialogs are modal to; set once it exists.
    void setOwner(QWidget* owner) { m_owner = owner; }

    void showError(const QString& title, const QString& text) override;

private:
    QWidget* m_owner;
};
