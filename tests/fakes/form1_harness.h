#pragma once

#include "form1.h"
#include "recording_launcher.h"
#include "recording_selection_window.h"
#include "recording_wait.h"
#include "scripted_dialogs.h"

// The real main window wired to fakes: a recording launcher, scripted
// dialogs, a wait that does not sleep and a selection window that only
// counts. Made afresh for each test.
struct Form1Harness {
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingWait wait;
    RecordingSelectionWindow selectionWindow;
    Form1 form{launcher, dialogs, wait, selectionWindow};
};
