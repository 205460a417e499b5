// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <atomic>
#include <cstring>

#include "pdixtract/signals.h"
#include "pdixtract/terminal.h"
#include "pdixtract/text_win32.h"

namespace pdixtract {

namespace {

// Plain arrays, so the handler reads them without allocating. Paths are kept in the form
// the file functions take, so the handler converts nothing.
constexpr int kSlotCount = 4;
constexpr std::size_t kPathMax = 32768;
wchar_t g_paths[kSlotCount][kPathMax];
std::atomic<bool> g_used[kSlotCount];

// Windows runs this on a thread of its own at Ctrl+C, Ctrl+Break, a closed console window,
// logoff and shutdown. The temporary files are shared for deleting, so they go although
// the main thread still has them open; the process then ends at once, as Windows ends a
// process at Ctrl+C, without running the C library's exit code, which could wait for a lock
// the main thread holds.
BOOL WINAPI OnInterrupt(DWORD) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (g_used[i].load()) DeleteFileW(g_paths[i]);
    }
    RestoreConsole();
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
}

}  // namespace

void InstallSignalHandlers() {
    SetConsoleCtrlHandler(OnInterrupt, TRUE);
}

int RegisterTemporary(const std::string& path) {
    std::wstring w = WidePath(path);
    if (w.size() >= kPathMax) return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        if (g_used[i].load()) continue;
        std::memcpy(g_paths[i], w.c_str(), (w.size() + 1) * sizeof(wchar_t));
        g_used[i].store(true);
        return i;
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot >= 0) g_used[slot].store(false);
}

bool TakeResize() {
    // Windows sends no signal when a console is resized: its width is looked at instead.
    static int last = -1;
    int now = TerminalWidth(stdout);
    bool changed = last >= 0 && now != last;
    last = now;
    return changed;
}

}  // namespace pdixtract
