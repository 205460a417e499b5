// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "atomic_file.h"
#include "errors.h"
#include "signals.h"
#include "text_win32.h"

namespace pdix {

namespace {

constexpr std::size_t buffer_size = 1u << 20;

HANDLE handle_of(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    refuse_odd_target();
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temp = next_temporary_name();
        // Registered first, so a Ctrl+C that comes just after the open still removes it; shared
        // for deleting, so that removal works while the file is open.
        m_slot = register_temporary(m_temp);
        HANDLE h = CreateFileW(wide_path(m_temp).c_str(), GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_out = reinterpret_cast<FileHandle>(h);
            return;
        }
        int err = from_windows_error(GetLastError());
        forget_temporary(std::exchange(m_slot, -1));
        if (err != EEXIST) {
            m_temp.clear();
            fail(err);
        }
    }
    m_temp.clear();
    fail(EEXIST);
}

AtomicFile::~AtomicFile() {
    if (m_out != no_file) CloseHandle(handle_of(m_out));
    if (!m_temp.empty()) DeleteFileW(wide_path(m_temp).c_str());
    forget_temporary(m_slot);
}

void AtomicFile::write_at(const void* data, std::size_t size, std::uint64_t offset) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!WriteFile(handle_of(m_out), p, want, &n, &at))
            fail(from_windows_error(GetLastError()));
        if (n == 0) fail(ENOSPC);
        p += n;
        size -= n;
        offset += n;
        m_written += n;
    }
}

std::uint64_t AtomicFile::copy_from(FileHandle in, const std::string& in_name,
                                    std::uint64_t in_offset, std::uint64_t offset,
                                    std::uint64_t len) {
    if (!m_buffer) m_buffer.reset(new char[buffer_size]);
    int err = 0;
    std::int64_t n =
        read_input(in, m_buffer.get(), std::min<std::uint64_t>(len, buffer_size), in_offset, err);
    if (n < 0)
        throw Error(ExitCode::bad_image, with_errno("cannot read set member: " + in_name, err));
    write_at(m_buffer.get(), static_cast<std::size_t>(n), offset);
    return static_cast<std::uint64_t>(n);
}

void AtomicFile::commit(std::uint64_t size) {
    check_complete(size);
    HANDLE h = handle_of(std::exchange(m_out, no_file));
    // On the disk before it takes the target's name, so a crash leaves the old file or the
    // whole new one.
    bool flushed = FlushFileBuffers(h);
    DWORD code = GetLastError();
    CloseHandle(h);
    if (!flushed) fail(from_windows_error(code));
    refuse_odd_target();
    if (!MoveFileExW(wide_path(m_temp).c_str(), wide_path(m_target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(from_windows_error(GetLastError()));
    m_temp.clear();
}

}  // namespace pdix
