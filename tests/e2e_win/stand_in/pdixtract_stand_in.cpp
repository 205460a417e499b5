// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for pdixtract.exe under Wine. Each start adds a file call.N to the
// folder named by ZELVORN_STAND_IN_LOG: the show-window value it was given
// ("-" without STARTF_USESHOWWINDOW), "|", and its command line exactly as
// GetCommandLineW returns it, in UTF-8. For "-gb LIST" it first writes a list
// of four entries to LIST, one of them in the ANSI code page (CAF\xC9.VOB).
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

void WriteWhole(const std::wstring& path, const std::string& bytes) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 4 && std::wstring(argv[1]) == L"-gb") {
        WriteWhole(argv[2],
                   "VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nCAF\xC9.VOB 2048\r\n"
                   "VTS_01_1.VOB 1024\r\n");
    }
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    std::wstring record =
        startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_wstring(startup.wShowWindow) : L"-";
    record += L'|';
    record += GetCommandLineW();
    std::string utf8(record.size() * 3, '\0');
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, record.data(), static_cast<int>(record.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));

    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ZELVORN_STAND_IN_LOG", folder, MAX_PATH);
    // Written aside and renamed into place, so a reader never sees half a record.
    const std::wstring part =
        std::wstring(folder) + L"/part." + std::to_wstring(GetCurrentProcessId());
    WriteWhole(part, utf8);
    for (int n = 0; n < 1000; ++n) {
        const std::wstring call = std::wstring(folder) + L"/call." + std::to_wstring(n);
        if (MoveFileW(part.c_str(), call.c_str())) return 0;
    }
    return 1;
}
