// SPDX-License-Identifier: GPL-3.0-or-later
// What Wine can show of a window to a screen reader and to the user, for the
// Wine tests: `window_probe TITLE` prints, in UTF-8, for the shown top-level
// window of that title "owner TITLE", the window that owns it ("-" for none),
// and then each child control in z-order (the order screen readers and the
// Tab key walk), one a line: CLASS|TEXT|WxH+X+Y|FLAGS|HANDLE, the rectangle in
// screen pixels, line breaks in TEXT as \n, FLAGS holding t for a tab stop, d
// for disabled, h for hidden and f for the keyboard focus, HANDLE as Wine's
// traces print it, but in lower case. `window_probe --activate TITLE` makes
// the window the one in front instead, as a user switching to it does, and
// returns once the window's program has acted on that.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cwchar>
#include <regex>
#include <string>

namespace {

std::wstring Text(HWND window) {
    if (!window) return L"-";
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return std::regex_replace(text, std::wregex(L"\r?\n"), L"\\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const HWND window = argc > 1 ? FindWindowW(nullptr, argv[argc - 1]) : nullptr;
    if (!window || !IsWindowVisible(window)) return 1;
    if (std::wstring(argv[1]) == L"--activate") {
        const BOOL done = SetForegroundWindow(window);
        // Answered only after the switch, which the window's thread was told first.
        SendMessageW(window, WM_NULL, 0, 0);
        return done ? 0 : 1;
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    _setmode(_fileno(stdout), _O_U8TEXT);
    std::wprintf(L"owner %ls\n", Text(GetWindow(window, GW_OWNER)).c_str());
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, std::size(name));
        RECT r{};
        GetWindowRect(child, &r);
        std::wprintf(L"%ls|%ls|%ldx%ld+%ld+%ld|%ls%ls%ls%ls|%p\n", name, Text(child).c_str(),
                     r.right - r.left, r.bottom - r.top, r.left, r.top,
                     GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP ? L"t" : L"",
                     IsWindowEnabled(child) ? L"" : L"d", IsWindowVisible(child) ? L"" : L"h",
                     child == thread.hwndFocus ? L"f" : L"", static_cast<void*>(child));
    }
    return 0;
}
