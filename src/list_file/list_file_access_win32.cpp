// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>

#include "base/system_error_text.h"
#include "base/windows_text.h"
#include "list_file/list_file_access.h"

namespace zelvorn {

using base::FromAnsi;
using base::WideOf;

namespace {

// Opens the path itself, never what a link or junction points to; folders
// open too, so they can be told apart from files.
HANDLE OpenPath(const std::u16string& path, DWORD access) {
    return CreateFileW(WideOf(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

ListFileStamp StampOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {true, info.dwVolumeSerialNumber,
            (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
            (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            static_cast<std::int64_t>((std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                      info.ftLastWriteTime.dwLowDateTime)};
}

}  // namespace

std::optional<std::u16string> ListFilePath() {
    return std::u16string(kWindowsListFile);
}

ListFileStamp StampListFile(const std::u16string& path) {
    const list_file_system::OpenFile file(
        reinterpret_cast<std::intptr_t>(OpenPath(path, FILE_READ_ATTRIBUTES)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(file.handle()), &info)) return {};
    return StampOf(info);
}

std::u16string DecodeListText(std::string_view bytes) {
    return FromAnsi(bytes);
}

namespace list_file_system {

OpenFile::~OpenFile() {
    const HANDLE handle = reinterpret_cast<HANDLE>(m_handle);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

Opened OpenPlainFile(const std::u16string& path) {
    using Outcome = ListFileRead::Outcome;
    const HANDLE handle = OpenPath(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Opened::Refused(Outcome::Missing);
        return Opened::Refused(Outcome::Unreadable, base::SystemErrorText(error));
    }
    auto file = std::make_unique<OpenFile>(reinterpret_cast<std::intptr_t>(handle));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        return Opened::Refused(Outcome::Unreadable, base::SystemErrorText(GetLastError()));
    }
    // A link, a junction, a folder or a device is no list, whatever it leads to.
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        GetFileType(handle) != FILE_TYPE_DISK) {
        return Opened::Refused(Outcome::NotPlainFile);
    }
    return {Outcome::Read, {}, StampOf(info), std::move(file)};
}

ReadSome Read(const OpenFile& file, char* into, std::size_t size) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
    if (!ReadFile(reinterpret_cast<HANDLE>(file.handle()), into, want, &got, nullptr)) {
        return {0, base::SystemErrorText(GetLastError())};
    }
    return {got, std::nullopt};
}

}  // namespace list_file_system

}  // namespace zelvorn
