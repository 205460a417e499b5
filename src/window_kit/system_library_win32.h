// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace zelvorn {

// A function of one of Windows' own DLLs, loaded by its full path in the
// system folder, never a DLL of that name beside the program; null when the
// DLL or the function cannot be had.
FARPROC SystemFunctionAddress(const wchar_t* library, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(SystemFunctionAddress(library, name)));
}

}  // namespace zelvorn
