// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "pdixtract/errors.h"

namespace pdixtract {

// pdixtract holds text and paths in UTF-8; Windows takes and gives UTF-16. These convert at
// that edge (bytes that are not UTF-8 become U+FFFD).
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// path for the wide file functions: '/' becomes '\', and a path too long for the classic
// limit of 260 characters is made absolute with the "\\?\" prefix that lifts the limit.
std::wstring WidePath(const std::string& path);

// A Windows error code as an Error: the few the logic tells apart become their errno values,
// every other keeps its code and is told in Windows' own words.
Error FromWindowsError(unsigned long code);

}  // namespace pdixtract
