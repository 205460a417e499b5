// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up benchmark: a bare Win32 window with the main
// window's caption and controls (six buttons, two fields, three check boxes,
// three frames) at fixed pixel places, in the stock dialog font, and nothing
// else: no layout table, no DPI, no core.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Control {
    const wchar_t* windowClass;
    const wchar_t* caption;
    DWORD style;
    int x, y, width, height;
};

constexpr DWORD kButton = BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
constexpr DWORD kBox = BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP;
constexpr Control kControls[] = {
    {L"BUTTON", L"&Browse", kButton, 208, 72, 73, 33},
    {L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 24, 48, 265, 19},
    {L"BUTTON", L"&Extract all files", kButton, 240, 352, 65, 41},
    {L"BUTTON", L"E&xit", kButton, 8, 352, 65, 41},
    {L"BUTTON", L"Browse", kButton, 208, 160, 73, 33},
    {L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 24, 136, 265, 19},
    {L"BUTTON", L"Delete PDI-files after processing", kBox, 112, 224, 97, 49},
    {L"BUTTON", L"Extract &files", kButton, 240, 304, 65, 41},
    {L"BUTTON", L"&Convert to Iso", kButton, 240, 256, 65, 41},
    {L"BUTTON", L"Create VIDEO_TS directory", kBox, 112, 280, 97, 41},
    {L"BUTTON", L"Minimize pdixtract when processing", kBox, 112, 336, 89, 41},
    {L"BUTTON", L"PDI options:", BS_GROUPBOX, 104, 208, 113, 185},
    {L"BUTTON", L"Destination folder:", BS_GROUPBOX, 8, 120, 297, 81},
    {L"BUTTON", L"Path to .pdi files:", BS_GROUPBOX, 8, 32, 297, 81},
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"FloorWindow";
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, 312, 398};
    AdjustWindowRectEx(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE, 0);
    const HWND window =
        CreateWindowExW(0, L"FloorWindow", L"ZELVORN 0.7", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const Control& c : kControls) {
        const HWND control =
            CreateWindowExW(0, c.windowClass, c.caption, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y,
                            c.width, c.height, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, font, FALSE);
    }
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
