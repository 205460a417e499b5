// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdlib>

#include "pdixtract/terminal.h"

namespace pdixtract {

namespace {

// What PrepareConsole and IsTerminal changed, for RestoreConsole.
UINT g_codePage = 0;
HANDLE g_console = nullptr;
DWORD g_mode = 0;

HANDLE ConsoleOf(std::FILE* stream) {
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return GetConsoleMode(h, &mode) ? h : nullptr;
}

}  // namespace

void PrepareConsole() {
    // Names are UTF-8 here; the console shows them right in its UTF-8 code page. The bytes
    // go out as they are: no "\r" is added before "\n", as elsewhere.
    UINT old = GetConsoleOutputCP();
    if (old != 0 && old != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) g_codePage = old;
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::atexit(RestoreConsole);
}

void RestoreConsole() {
    if (g_codePage != 0) SetConsoleOutputCP(g_codePage);
    if (g_console != nullptr) SetConsoleMode(g_console, g_mode);
}

bool IsTerminal(std::FILE* stream) {
    HANDLE h = ConsoleOf(stream);
    DWORD mode = 0;
    if (h == nullptr || !GetConsoleMode(h, &mode)) return false;
    if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
    // A console that takes no escape sequences (before Windows 10) gets plain lines.
    if (!SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
    g_console = h;
    g_mode = mode;
    return true;
}

bool InputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

int TerminalWidth(std::FILE* stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    HANDLE h = ConsoleOf(stream);
    if (h == nullptr || !GetConsoleScreenBufferInfo(h, &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

bool TerminalTakesTitle() {
    // A console that takes escape sequences takes the title sequence too.
    return true;
}

}  // namespace pdixtract
