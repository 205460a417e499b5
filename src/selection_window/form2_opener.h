#pragma once

#include <QPointer>

#include "dialogs.h"
#include "form2.h"
#include "launcher.h"
#include "selection_window.h"

// Keeps the one file selection window: makes it when none is open, shows it
// modeless and without owner, and discards it when the user closes it.
class Form2Opener : public SelectionWindow {
public:
    Form2Opener(Launcher& launcher, Dialogs& dialogs);
    // Closes a window still open when the program ends.
    ~Form2Opener() override;

    void showOrRaise(MainWindowFields& mainWindow, const QString& listFile) override;

    // The open window, or null.
    Form2* window() const;

private:
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    QPointer<Form2> m_window;
};
