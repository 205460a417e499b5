// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

#include "core_fakes.h"
#include "main_window/main_window_qt.h"

namespace zelvorn {

// True if the caption, wrapped as the control wraps it, is drawn whole inside it.
template <typename Control>
bool CaptionFits(const Control* control) {
    const QRect room = control->captionRect();
    return room.contains(control->fontMetrics().boundingRect(
        room, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, control->text()));
}

// The real main window wired to the core's fakes: a recording launcher,
// scripted dialogs, and a wait and selection window that only record. Its
// controls are found by their object names, as a user finds them by caption.
struct MainWindowHarness {
    MainWindowHarness() { window.show(); }

    template <typename T = QWidget>
    T* control(const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        if (!found) qFatal("no control named %s", name);
        return found;
    }

    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingSteps steps;
    MainWindow window{{launcher,
                       dialogs,
                       steps,
                       steps,
                       {u"/run/pdilist.txt", [](const std::u16string&) { return ListFileStamp{}; }},
                       u"/"}};
};

}  // namespace zelvorn
