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

LaunchResult ProcessLauncher::launch(std::u16string_view commandLine, WindowStyle style) {
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
            return {LaunchResult::Status::ProgramNotFound, {}};
        }
        return {LaunchResult::Status::StartFailed, base::SystemErrorText(error)};
    }
    // Nobody waits for the extractor or asks how it ended.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

}  // namespace zelvorn
