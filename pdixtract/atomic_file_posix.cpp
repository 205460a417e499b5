// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

#include "pdixtract/atomic_file.h"
#include "pdixtract/errors.h"
#include "pdixtract/signals.h"

namespace pdixtract {

namespace {

// Copying by hand: a buffer that stays in the processor's cache is fastest.
constexpr std::size_t kBufferSize = 1u << 20;
constexpr std::uint64_t kPage = 4096;

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    refuseOddTarget();
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temp = nextTemporaryName();
        // Registered first, so a signal that comes just after the open still removes it.
        m_slot = RegisterTemporary(m_temp);
        // 0666 and the umask, as for any file a user's program creates.
        m_out = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_out >= 0) return;
        int err = errno;
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
    if (m_out >= 0) ::close(static_cast<int>(m_out));
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
    ForgetTemporary(m_slot);
}

void AtomicFile::writeAt(const void* data, std::size_t size, std::uint64_t offset) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::pwrite(static_cast<int>(m_out), p, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
        m_written += static_cast<std::uint64_t>(n);
    }
}

std::uint64_t AtomicFile::copyFrom(FileHandle in, const std::string& inName, std::uint64_t inOffset,
                                   std::uint64_t offset, std::uint64_t len) {
    const int inFd = static_cast<int>(in);
    // The kernel copies whole pages fast, but data whose place in its page differs in the
    // two files (ISO 9660 sectors are half a page) goes faster through a small buffer.
    while (m_kernelCopy && inOffset % kPage == offset % kPage) {
        loff_t src = static_cast<loff_t>(inOffset);
        loff_t dst = static_cast<loff_t>(offset);
        ssize_t n = ::copy_file_range(inFd, &src, static_cast<int>(m_out), &dst, len, 0);
        if (n >= 0) {
            m_written += static_cast<std::uint64_t>(n);
            return static_cast<std::uint64_t>(n);
        }
        if (errno == EINTR) continue;
        if (errno == EIO) {
            throw Error(ExitCode::BadImage, WithErrno("cannot read set member: " + inName, EIO));
        }
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
            errno != EBADF && errno != EPERM && errno != ETXTBSY) {
            fail(errno);
        }
        m_kernelCopy = false;  // this pair of file systems cannot; copy by hand
    }
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
    int fd = static_cast<int>(m_out);
    m_out = kNoFile;
    // close() can report a delayed write error (NFS, quotas); such a file is not complete.
    if (::close(fd) != 0) fail(errno);
    refuseOddTarget();
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) fail(errno);
    m_temp.clear();
}

}  // namespace pdixtract
