#pragma once

#include <QString>

#include "main_window_fields.h"

// The file selection window as the list action sees it: at most one exists.
class SelectionWindow {
public:
    virtual ~SelectionWindow() = default;
    // Creates and shows the window over `listFile` when none is open, modeless
    // and without an owner; its presses read `mainWindow` at that moment. An
    // open window is only brought to the front, with the list it shows.
    virtual void showOrRaise(MainWindowFields& mainWindow, const QString& listFile) = 0;
};
