// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The list file on this platform: where it lives, its stamp, its bytes and
// their encoding. Implemented once per platform (list_file_access_posix.cpp,
// list_file_access_win32.cpp).

#include <optional>
#include <string>
#include <string_view>

#include "list_file/list_file_reader.h"

namespace zelvorn {

// This platform's list file: "C:\pdilist.txt" on Windows; elsewhere
// pdilist.txt in the user's private runtime folder, never a shared folder
// where another user could plant or redirect it. Nothing when no usable
// private folder exists.
std::optional<std::u16string> ListFilePath();

// What the list file at `path` is like now; never follows a link.
ListFileStamp StampListFile(const std::u16string& path);

// Reads the list file at `path` whole, unless it is the same file, unchanged,
// as `before` recorded. Follows no link and reads only a plain file (on POSIX
// one the user owns), so a pipe, device or planted link cannot block the
// window or pass another file's lines off as the list.
ListFileRead ReadListFile(const std::u16string& path, const ListFileStamp& before);

// The platform's encoding of the list file: UTF-8 on Linux, the ANSI code
// page on Windows.
std::u16string DecodeListText(std::string_view bytes);

}  // namespace zelvorn
