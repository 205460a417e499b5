// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <cstring>

#include "pdixtract/signals.h"
#include "pdixtract/terminal.h"
#include "pdixtract/text_win32.h"

namespace pdixtract {

namespace {

constexpr std::size_t kPathMax = 32768;
wchar_t g_paths[kTemporarySlots][kPathMax];

// Windows runs this on a thread of its own at Ctrl+C, Ctrl+Break, a closed console window,
// logoff and shutdown. The temporary files are shared for deleting, so they go although
// the main thread still has them open; the process then ends at once, as Windows ends a
// process at Ctrl+C, without running the C library's exit code, which could wait for a lock
// the main thread holds.
BOOL WINAPI OnInterrupt(DWORD) {
    RemoveTemporaries();
    RestoreConsole();
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
}

}  // namespace

void InstallSignalHandlers() {
    SetConsoleCtrlHandler(OnInterrupt, TRUE);
}

bool KeepTemporaryPath(int slot, const std::string& path) {
    const std::wstring w = WidePath(path);
    if (w.size() >= kPathMax) return false;
    std::memcpy(g_paths[slot], w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    return true;
}

void DeleteKeptPath(int slot) {
    DeleteFileW(g_paths[slot]);
}

bool TakeResize() {
    // Windows sends no signal when a console is resized: its width is looked at instead.
    static int last = -1;
    const int now = TerminalWidth(stdout);
    const bool changed = last >= 0 && now != last;
    last = now;
    return changed;
}

}  // namespace pdixtract
