// SPDX-License-Identifier: GPL-3.0-or-later
// Running pdixtract.exe and making temporary folders on Windows.
#include <windows.h>

#include <random>
#include <stdexcept>

#include "test_support.h"

namespace pdix_test {

namespace {

// arg as Windows programs split it back out of a command line.
std::wstring quoted(const std::string& arg) {
    std::wstring a = fs::path(std::u8string(arg.begin(), arg.end())).wstring(), q = L"\"";
    if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
    for (std::size_t i = 0, slashes = 0; i <= a.size(); ++i) {
        if (i < a.size() && a[i] == L'\\') {
            ++slashes;
            continue;
        }
        // Backslashes double only before a double quote, the closing one included.
        q.append(i == a.size() || a[i] == L'"' ? 2 * slashes : slashes, L'\\');
        if (i < a.size()) q += (a[i] == L'"' ? L"\\\"" : std::wstring(1, a[i]));
        slashes = 0;
    }
    return q + L'"';
}

HANDLE output(const fs::path& path, SECURITY_ATTRIBUTES& inherit) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                       nullptr);
}

}  // namespace

int run_pdixtract(const std::vector<std::string>& args, const fs::path& cwd, const fs::path& out,
                  const fs::path& err, bool interrupt) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + (fs::path(self).parent_path() / "pdixtract.exe").wstring() + L"\"";
    for (const std::string& a : args) line += L" " + quoted(a);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output(out, inherit);
    startup.hStdError = output(err, inherit);
    PROCESS_INFORMATION process{};
    bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                  interrupt ? CREATE_NEW_CONSOLE : CREATE_NO_WINDOW, nullptr,
                                  cwd.c_str(), &startup, &process);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!started) throw std::runtime_error("cannot start pdixtract.exe");
    if (interrupt) {
        // Ctrl+C goes to every process of a console: join its console, ignoring it here. (The
        // first console of a Wine prefix takes seconds to open.)
        for (int i = 0; i < 20000 && leftovers(cwd).empty(); ++i) Sleep(1);
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
    return static_cast<int>(status);
}

TempDir::TempDir() {
    std::random_device random;
    m_path = fs::temp_directory_path() / ("pdixtract-test-" + std::to_string(random()));
    if (!fs::create_directory(m_path)) throw std::runtime_error("cannot make " + m_path.string());
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

}  // namespace pdix_test
