// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for pdixtract.exe under Wine. Each start adds a file call.N to the
// folder named by ZELVORN_STAND_IN_LOG, in UTF-16: the show-window value it was
// given ("-" without STARTF_USESHOWWINDOW), "|", and its command line exactly
// as GetCommandLineW returns it. For "-gb LIST" it then waits while the file
// list.hold is in that folder; with a file list.fail there it exits with 3, as
// for a set member it cannot open, else it writes to LIST a list of four
// entries, one of them in the ANSI code page (CAF\xC9.VOB).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const std::wstring record =
        (startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_wstring(startup.wShowWindow) : L"-") +
        L"|" + GetCommandLineW();
    // Written aside and renamed into place, so a reader never sees half a record.
    const std::wstring folder = std::wstring(_wgetenv(L"ZELVORN_STAND_IN_LOG")) + L"/";
    const std::wstring part = folder + L"part." + std::to_wstring(GetCurrentProcessId());
    FILE* file = _wfopen(part.c_str(), L"wb");
    std::fwrite(record.data(), sizeof(wchar_t), record.size(), file);
    std::fclose(file);
    int n = 0;
    while (n < 1000 && !MoveFileW(part.c_str(), (folder + L"call." + std::to_wstring(n)).c_str())) {
        ++n;
    }
    if (__argc != 4 || std::wstring(__wargv[1]) != L"-gb") return 0;
    while (GetFileAttributesW((folder + L"list.hold").c_str()) != INVALID_FILE_ATTRIBUTES)
        Sleep(100);
    if (GetFileAttributesW((folder + L"list.fail").c_str()) != INVALID_FILE_ATTRIBUTES) return 3;
    FILE* list = _wfopen(__wargv[2], L"wb");
    std::fputs(
        "VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nCAF\xC9.VOB 2048\r\nVTS_01_1.VOB 1024\r\n",
        list);
    std::fclose(list);
    return 0;
}
