// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <atomic>
#include <cstring>

#include "signals.h"
#include "terminal.h"
#include "text_win32.h"

namespace pdix {

namespace {

// Plain arrays, so the handler reads them without allocating. Paths are kept in the form
// the file functions take, so the handler converts nothing.
constexpr int slot_count = 4;
constexpr std::size_t path_max = 32768;
wchar_t g_paths[slot_count][path_max];
std::atomic<bool> g_used[slot_count];

// Windows runs this on a thread of its own at Ctrl+C, Ctrl+Break, a closed console window,
// logoff and shutdown. The temporary files are shared for deleting, so they go although
// the main thread still has them open; the process then ends at once, as Windows ends a
// process at Ctrl+C, without running the C library's exit code, which could wait for a lock
// the main thread holds.
BOOL WINAPI on_interrupt(DWORD) {
    for (int i = 0; i < slot_count; ++i) {
        if (g_used[i].load()) DeleteFileW(g_paths[i]);
    }
    restore_console();
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
}

}  // namespace

void install_signal_handlers() {
    SetConsoleCtrlHandler(on_interrupt, TRUE);
}

int register_temporary(const std::string& path) {
    std::wstring w = wide_path(path);
    if (w.size() >= path_max) return -1;
    for (int i = 0; i < slot_count; ++i) {
        if (g_used[i].load()) continue;
        std::memcpy(g_paths[i], w.c_str(), (w.size() + 1) * sizeof(wchar_t));
        g_used[i].store(true);
        return i;
    }
    return -1;
}

void forget_temporary(int slot) {
    if (slot >= 0) g_used[slot].store(false);
}

bool take_resize() {
    // Windows sends no signal when a console is resized: its width is looked at instead.
    static int last = -1;
    int now = terminal_width(stdout);
    bool changed = last >= 0 && now != last;
    last = now;
    return changed;
}

}  // namespace pdix
