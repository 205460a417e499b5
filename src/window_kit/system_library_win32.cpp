// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_kit/system_library_win32.h"

#include <string>

namespace zelvorn {

FARPROC SystemFunctionAddress(const wchar_t* library, const char* name) {
    // LOAD_LIBRARY_SEARCH_SYSTEM32 would say the same, but Windows 7 knows it
    // only with update KB2533623. A full path works on every version, and
    // LOAD_WITH_ALTERED_SEARCH_PATH looks for the DLL's own DLLs in its folder
    // first, not in the program's.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L'\\' + library;
    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace zelvorn
