// SPDX-License-Identifier: GPL-3.0-or-later
// Running pdixtract.exe on Windows.
#include <windows.h>

#include <stdexcept>

#include "test_support.h"

namespace pdixtract {

RunResult RunPdixtract(const std::vector<std::string>& args, const fs::path& cwd, const Limits&,
                       const std::function<void()>&, int signal) {
    std::wstring line = L"pdixtract.exe";  // found first in the folder of this program
    for (const std::string& arg : args) {
        // Quoted when empty or blank; no argument here holds a double quote or ends in "\".
        const std::wstring a = Utf8Path(arg).wstring();
        line += a.empty() || a.find_first_of(L" \t") != a.npos ? L" \"" + a + L"\"" : L" " + a;
    }
    TempDir capture;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto output = [&](const char* name) {
        return CreateFileW((capture.path / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, 0, nullptr);
    };
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output("out");
    startup.hStdError = output("err");
    PROCESS_INFORMATION process{};
    bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                  signal ? CREATE_NEW_CONSOLE : CREATE_NO_WINDOW, nullptr,
                                  cwd.c_str(), &startup, &process);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!started) throw std::runtime_error("cannot start pdixtract.exe");
    if (signal) {
        // Ctrl+C goes to every process of a console: join its console, ignoring it here. (The
        // first console of a Wine prefix takes seconds to open.)
        for (int i = 0; i < 20000 && !HasTemporary(cwd); ++i) Sleep(1);
        FreeConsole();
        AttachConsole(process.dwProcessId);
        SetConsoleCtrlHandler(nullptr, TRUE);
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        FreeConsole();
    }
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, status);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {static_cast<int>(status), ReadWholeFile(capture.path / "out"),
            ReadWholeFile(capture.path / "err")};
}

}  // namespace pdixtract
