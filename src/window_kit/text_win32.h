// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

#include "base/windows_text.h"

namespace zelvorn {

using base::FromAnsi;
using base::ToAnsi;
using base::U16Of;
using base::WideOf;

// The whole text of a window or control.
std::u16string WindowText(HWND window);

}  // namespace zelvorn
