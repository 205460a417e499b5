// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for pdixtract.exe under Wine. Each start adds a file call.N to the
// folder named by ZELVORN_STAND_IN_LOG, in UTF-16: the show-window value it was
// given ("-" without STARTF_USESHOWWINDOW), "|", and its command line exactly
// as GetCommandLineW returns it. For "-gb LIST" it first writes a list of four
// entries to LIST, one of them in the ANSI code page (CAF\xC9.VOB).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (__argc == 4 && std::wstring(__wargv[1]) == L"-gb") {
        FILE* list = _wfopen(__wargv[2], L"wb");
        std::fputs(
            "VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nCAF\xC9.VOB 2048\r\nVTS_01_1.VOB 1024\r\n",
            list);
        std::fclose(list);
    }
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const std::wstring record =
        (startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_wstring(startup.wShowWindow) : L"-") +
        L"|" + GetCommandLineW();
    // Written aside and renamed into place, so a reader never sees half a record.
    const std::wstring folder = _wgetenv(L"ZELVORN_STAND_IN_LOG");
    const std::wstring part = folder + L"/part." + std::to_wstring(GetCurrentProcessId());
    FILE* file = _wfopen(part.c_str(), L"wb");
    std::fwrite(record.data(), sizeof(wchar_t), record.size(), file);
    std::fclose(file);
    for (int n = 0; n < 1000; ++n) {
        if (MoveFileW(part.c_str(), (folder + L"/call." + std::to_wstring(n)).c_str())) return 0;
    }
    return 1;
}
