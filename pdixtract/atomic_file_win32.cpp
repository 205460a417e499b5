// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "atomic_file.h"
#include "errors.h"
#include "signals.h"
#include "text_win32.h"

namespace pdix {

namespace {

constexpr std::size_t name_max = 255;
constexpr std::size_t buffer_size = 1u << 20;

// Cuts text to at most max bytes without splitting a UTF-8 character; as many UTF-16 units
// never exceed the bytes, the name then fits in a folder entry too.
std::string cut_utf8(const std::string& text, std::size_t max) {
    if (text.size() <= max) return text;
    while (max > 0 && (static_cast<unsigned char>(text[max]) & 0xC0) == 0x80) --max;
    return text.substr(0, max);
}

HANDLE handle_of(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    refuse_odd_target();
    std::size_t slash = last_separator(m_target);
    std::string dir = slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    base = cut_utf8(base, name_max - 15);
    static unsigned serial = std::random_device()();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", serial++);
        m_temp = dir + "." + base + "." + suffix + ".part";
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

void AtomicFile::refuse_odd_target() const {
    FileKind kind = look_at(m_target);
    if (kind != FileKind::missing && kind != FileKind::regular) {
        throw Error(ExitCode::write_failed,
                    "will not replace something that is not a regular file: " + m_target);
    }
}

void AtomicFile::fail(int errnum) const {
    throw Error(ExitCode::write_failed, with_errno("cannot write " + m_target, errnum));
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
    if (m_written != size) {
        throw Error(ExitCode::bad_image, "the image holds only " + std::to_string(m_written) +
                                             " of the file's " + std::to_string(size) +
                                             " bytes, not written: " + m_target);
    }
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
