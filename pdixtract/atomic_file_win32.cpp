// SPDX-License-Identifier: GPL-3.0-or-later
// AtomicFile's system calls on Windows.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <utility>

#include "pdixtract/atomic_file.h"
#include "pdixtract/text_win32.h"

namespace pdixtract {

namespace {

HANDLE HandleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

// Marks an open file to be deleted when its last handle closes, or takes that back.
bool DeleteWhenClosed(HANDLE h, bool deleted) {
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleted)};
    return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

ErrorOr<FileHandle> AtomicFile::createUnnamed(const std::string&) {
    // Every file has a name here: createNew's files are deleted on close instead.
    return Error::fromSystemCode(ERROR_NOT_SUPPORTED);
}

ErrorOr<FileHandle> AtomicFile::createNew(const std::string& path) {
    // Shared for deleting, so an interruption can remove it while it is open.
    const HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FromWindowsError(GetLastError());
    // Then Windows removes it however the process ends, even killed; where the file system
    // will not, the interruption handlers still do.
    DeleteWhenClosed(h, true);
    return reinterpret_cast<FileHandle>(h);
}

ErrorOr<void> AtomicFile::linkAs(const std::string&) {
    return Error::fromSystemCode(ERROR_NOT_SUPPORTED);
}

ErrorOr<FileHandle> AtomicFile::openToRewrite(const std::string& path) {
    // Readable meanwhile, so no reader's open makes it fail.
    const HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 TRUNCATE_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FromWindowsError(GetLastError());
    return reinterpret_cast<FileHandle>(h);
}

ErrorOr<std::size_t> AtomicFile::writeSome(const void* data, std::size_t size,
                                           std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!WriteFile(HandleOf(m_out), data, want, &n, &at)) return FromWindowsError(GetLastError());
    return std::size_t{n};
}

ErrorOr<std::optional<std::uint64_t>> AtomicFile::copyInKernel(const InputFile&, std::uint64_t,
                                                               std::uint64_t, std::uint64_t) {
    // Windows copies no part of one file into another in the kernel.
    return std::optional<std::uint64_t>();
}

void AtomicFile::allowHoles() {
    // Without it NTFS writes out the zeros; a file system without sparse files does too.
    DWORD none = 0;
    DeviceIoControl(HandleOf(m_out), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &none, nullptr);
}

ErrorOr<void> AtomicFile::setLength(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(HandleOf(m_out), FileEndOfFileInfo, &end, sizeof end))
        return FromWindowsError(GetLastError());
    return {};
}

ErrorOr<void> AtomicFile::flushToDisk() {
    if (!FlushFileBuffers(HandleOf(m_out))) return FromWindowsError(GetLastError());
    return {};
}

void AtomicFile::keepWhenClosed() {
    // Should this fail while the mark is set, the file goes on close and renameOver says so.
    DeleteWhenClosed(HandleOf(m_out), false);
}

ErrorOr<void> AtomicFile::closeStored() {
    if (!CloseHandle(HandleOf(std::exchange(m_out, kNoFile))))
        return FromWindowsError(GetLastError());
    return {};
}

void AtomicFile::closeDropped() {
    CloseHandle(HandleOf(std::exchange(m_out, kNoFile)));
}

ErrorOr<void> AtomicFile::renameOver(const std::string& from, const std::string& to) {
    if (!MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING))
        return FromWindowsError(GetLastError());
    return {};
}

void AtomicFile::removeFile(const std::string& path) {
    DeleteFileW(WidePath(path).c_str());
}

}  // namespace pdixtract
