// SPDX-License-Identifier: GPL-3.0-or-later
// For the Wine tests: prints, in UTF-8, one line for each shown control of the
// shown window captioned ARGUMENT, its class and its text ("Edit: Waiting...",
// line breaks as \n), as a user would read the window.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& text) {
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    if (!IsWindowVisible(control)) return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    // WM_GETTEXT, as GetWindowTextW reads no edit control of another process.
    std::wstring text(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    text.resize(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    std::wstring line = std::wstring(name) + L": ";
    for (const wchar_t c : text) {
        if (c == L'\n') line += L"\\n";
        if (c != L'\r' && c != L'\n') line += c;
    }
    Print(line + L"\n");
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const HWND window = argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr;
    if (!window || !IsWindowVisible(window)) return 1;
    EnumChildWindows(window, PrintControl, 0);
    return 0;
}
