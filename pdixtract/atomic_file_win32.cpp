// SPDX-License-Identifier: GPL-3.0-or-later
// AtomicFile's system calls on Windows.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "pdixtract/atomic_file.h"
#include "pdixtract/text_win32.h"

namespace pdixtract {

namespace {

HANDLE HandleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

ErrorOr<FileHandle> AtomicFile::createNew(const std::string& path) {
    // Shared for deleting, so an interruption can remove it while it is open.
    const HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FromWindowsError(GetLastError());
    return reinterpret_cast<FileHandle>(h);
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

ErrorOr<void> AtomicFile::closeStored() {
    const HANDLE h = HandleOf(std::exchange(m_out, kNoFile));
    // On the disk before it takes the target's name, so a crash leaves the old file or the
    // whole new one.
    const bool flushed = FlushFileBuffers(h);
    const DWORD code = GetLastError();
    CloseHandle(h);
    if (!flushed) return FromWindowsError(code);
    return {};
}

void AtomicFile::closeDropped() {
    CloseHandle(HandleOf(std::exchange(m_out, kNoFile)));
}

ErrorOr<void> AtomicFile::renameOver(const std::string& from, const std::string& to) {
    if (!MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FromWindowsError(GetLastError());
    return {};
}

void AtomicFile::removeFile(const std::string& path) {
    DeleteFileW(WidePath(path).c_str());
}

}  // namespace pdixtract
