// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>

#include "list_file/list_file_access.h"
#include "base/system_error_text.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

// Closes a file handle when it goes out of scope.
struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

// Opens the path itself, never what a link or junction points to; folders
// open too, so they can be told apart from files.
HANDLE OpenListFile(const std::u16string& path, DWORD access) {
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

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

ListFileRead Unreadable(DWORD error) {
    return {ListFileRead::Outcome::Unreadable, {}, base::SystemErrorText(error)};
}

}  // namespace

std::optional<std::u16string> ListFilePath() {
    return std::u16string(kWindowsListFile);
}

ListFileStamp StampListFile(const std::u16string& path) {
    const HandleCloser file{OpenListFile(path, FILE_READ_ATTRIBUTES)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (file.handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.handle, &info)) {
        return {};
    }
    return StampOf(info);
}

ListFileRead ReadListFile(const std::u16string& path, const ListFileStamp& before) {
    const HandleCloser file{OpenListFile(path, GENERIC_READ)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (IsMissing(error)) return {ListFileRead::Outcome::Missing, {}, {}};
        return Unreadable(error);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.handle, &info)) return Unreadable(GetLastError());
    // A link, a junction, a folder or a device is no list, whatever it leads to.
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        GetFileType(file.handle) != FILE_TYPE_DISK) {
        return {ListFileRead::Outcome::NotPlainFile, {}, {}};
    }
    const ListFileStamp stamp = StampOf(info);
    if (before.present && stamp == before) return {ListFileRead::Outcome::Unchanged, {}, {}};
    if (stamp.size > kMaxListFileBytes) return {ListFileRead::Outcome::TooLarge, {}, {}};
    // One byte more than allowed tells a file that grows while it is read.
    ListFileRead read{ListFileRead::Outcome::Read, {}, {}};
    std::string& bytes = read.bytes;
    bytes.resize(static_cast<std::size_t>(stamp.size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() > kMaxListFileBytes) return {ListFileRead::Outcome::TooLarge, {}, {}};
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kMaxListFileBytes + 1));
        }
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        if (!ReadFile(file.handle, bytes.data() + done, want, &got, nullptr)) {
            return Unreadable(GetLastError());
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return read;
}

std::u16string DecodeListText(std::string_view bytes) {
    return FromAnsi(bytes);
}

}  // namespace zelvorn
