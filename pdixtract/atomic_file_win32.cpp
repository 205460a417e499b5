// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "pdixtract/atomic_file.h"
#include "pdixtract/errors.h"
#include "pdixtract/signals.h"
#include "pdixtract/text_win32.h"

namespace pdixtract {

namespace {

constexpr std::size_t kBufferSize = 1u << 20;

HANDLE HandleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    refuseOddTarget();
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temp = nextTemporaryName();
        // Registered first, so a Ctrl+C that comes just after the open still removes it; shared
        // for deleting, so that removal works while the file is open.
        m_slot = RegisterTemporary(m_temp);
        HANDLE h = CreateFileW(WidePath(m_temp).c_str(), GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_out = reinterpret_cast<FileHandle>(h);
            return;
        }
        int err = FromWindowsError(GetLastError());
        ForgetTemporary(std::exchange(m_slot, -1));
        if (err != EEXIST) {
            m_temp.clear();
            fail(err);
        }
    }
    m_temp.clear();
    fail(EEXIST);
}

AtomicFile::~AtomicFile() {
    if (m_out != kNoFile) CloseHandle(HandleOf(m_out));
    if (!m_temp.empty()) DeleteFileW(WidePath(m_temp).c_str());
    ForgetTemporary(m_slot);
}

void AtomicFile::writeAt(const void* data, std::size_t size, std::uint64_t offset) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!WriteFile(HandleOf(m_out), p, want, &n, &at)) fail(FromWindowsError(GetLastError()));
        if (n == 0) fail(ENOSPC);
        p += n;
        size -= n;
        offset += n;
        m_written += n;
    }
}

std::uint64_t AtomicFile::copyFrom(FileHandle in, const std::string& inName, std::uint64_t inOffset,
                                   std::uint64_t offset, std::uint64_t len) {
    if (!m_buffer) m_buffer.reset(new char[kBufferSize]);
    int err = 0;
    std::int64_t n =
        ReadInput(in, m_buffer.get(), std::min<std::uint64_t>(len, kBufferSize), inOffset, err);
    if (n < 0) throw Error(ExitCode::BadImage, WithErrno("cannot read set member: " + inName, err));
    writeAt(m_buffer.get(), static_cast<std::size_t>(n), offset);
    return static_cast<std::uint64_t>(n);
}

void AtomicFile::commit(std::uint64_t size) {
    checkComplete(size);
    HANDLE h = HandleOf(std::exchange(m_out, kNoFile));
    // On the disk before it takes the target's name, so a crash leaves the old file or the
    // whole new one.
    bool flushed = FlushFileBuffers(h);
    DWORD code = GetLastError();
    CloseHandle(h);
    if (!flushed) fail(FromWindowsError(code));
    refuseOddTarget();
    if (!MoveFileExW(WidePath(m_temp).c_str(), WidePath(m_target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(FromWindowsError(GetLastError()));
    m_temp.clear();
}

}  // namespace pdixtract
