// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/launcher_win32.h"

#include <windows.h>

#include <string>

#include "base/system_error_text.h"
#include "base/windows_text.h"

namespace zelvorn {

using base::U16Of;
using base::WideOf;

std::u16string ProcessLauncher::searchedFirst() const {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    return std::u16string(U16Of(path.substr(0, path.find_last_of(L'\\'))));
}

namespace {

// A watched process, asked after through its handle.
class HandleProcess : public RunningProcess {
public:
    explicit HandleProcess(HANDLE process) : m_process(process) {}
    ~HandleProcess() override { CloseHandle(m_process); }

    std::optional<ProcessEnd> ended() override {
        DWORD code = 0;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) return std::nullopt;
        if (!GetExitCodeProcess(m_process, &code)) return ProcessEnd{};
        return ProcessEnd{ProcessEnd::How::Exited, code};
    }

private:
    HANDLE m_process;
};

LaunchResult Start(std::u16string_view commandLine, WindowStyle style, bool watched) {
    // CreateProcessW may write into the line, so it gets a copy of its own.
    std::wstring line(WideOf(commandLine));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(style);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {LaunchResult::Status::ProgramNotFound, {}, nullptr};
        }
        return {LaunchResult::Status::StartFailed, base::SystemErrorText(error), nullptr};
    }
    CloseHandle(process.hThread);
    LaunchResult result;
    if (watched) {
        result.process = std::make_unique<HandleProcess>(process.hProcess);
    } else {
        CloseHandle(process.hProcess);  // nobody waits for it or asks how it ended
    }
    return result;
}

}  // namespace

LaunchResult ProcessLauncher::launch(std::u16string_view commandLine, WindowStyle style) {
    return Start(commandLine, style, false);
}

LaunchResult ProcessLauncher::launchWatched(std::u16string_view commandLine, WindowStyle style) {
    return Start(commandLine, style, true);
}

}  // namespace zelvorn
