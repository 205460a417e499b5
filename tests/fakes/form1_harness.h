// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

#include "core_fakes.h"
#include "main_window/form1_qt.h"

namespace zelvorn {

// The real main window wired to the core's fakes: a recording launcher,
// scripted dialogs, and a wait and selection window that only record. Its
// controls are found by their object names, as a user finds them by caption.
struct Form1Harness {
    Form1Harness() { form.show(); }

    template <typename T = QWidget>
    T* control(const char* name) {
        T* found = form.findChild<T*>(QLatin1String(name));
        if (!found) qFatal("no control named %s", name);
        return found;
    }

    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingSteps steps;
    Form1 form{launcher, dialogs, steps, steps, {u"/run/pdilist.txt", [](const std::u16string&) {
                                                     return ListFileStamp{};
                                                 }}};
};

}  // namespace zelvorn
