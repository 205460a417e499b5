// SPDX-License-Identifier: GPL-3.0-or-later
// What Wine can show of a window to a screen reader and to the user, for the
// Wine tests: `window_probe TITLE` prints, in UTF-8, for the shown top-level
// window of that title
//   owner TITLE       the window that owns it ("-" for none)
//   enabled 0|1       whether it takes input
//   cues N            its WM_QUERYUISTATE: 1 focus rectangles hidden, 2 access keys hidden
// and then each child control in z-order (the order screen readers and the
// Tab key walk), one a line: CLASS|TEXT|WIDTHxHEIGHT|FLAGS|HANDLE, line breaks
// in TEXT as \n, FLAGS holding t for a tab stop, d for disabled and h for
// hidden, HANDLE as Wine's traces print it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& line) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    std::printf("%s\n", bytes.c_str());
}

std::wstring Text(HWND window) {
    if (!window) return L"-";
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    std::wstring line;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c == L'\n') line += L"\\n";
        if (*c != L'\r' && *c != L'\n') line += *c;
    }
    return line;
}

std::wstring Handle(HWND window) {
    wchar_t text[17];
    std::swprintf(text, std::size(text), L"%016llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const HWND window = argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr;
    if (!window || !IsWindowVisible(window)) return 1;
    Print(L"owner " + Text(GetWindow(window, GW_OWNER)));
    Print(L"enabled " + std::to_wstring(IsWindowEnabled(window) ? 1 : 0));
    Print(L"cues " + std::to_wstring(SendMessageW(window, WM_QUERYUISTATE, 0, 0)));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, std::size(name));
        RECT rect{};
        GetWindowRect(child, &rect);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        Print(std::wstring(name) + L'|' + Text(child) + L'|' +
              std::to_wstring(rect.right - rect.left) + L'x' +
              std::to_wstring(rect.bottom - rect.top) + L'|' + (style & WS_TABSTOP ? L"t" : L"") +
              (IsWindowEnabled(child) ? L"" : L"d") + (IsWindowVisible(child) ? L"" : L"h") + L'|' +
              Handle(child));
    }
    return 0;
}
