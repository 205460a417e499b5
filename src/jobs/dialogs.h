#pragma once

#include <QString>

// The modal questions and messages the windows put to the user, behind one
// seam so tests can answer them without a person at the keyboard.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows an error message with an OK button and waits until it is closed.
    virtual void showError(const QString& title, const QString& text) = 0;
};
