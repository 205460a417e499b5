// SPDX-License-Identifier: GPL-3.0-or-later
// AtomicFile's system calls on POSIX systems.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "pdixtract/atomic_file.h"

namespace pdixtract {

namespace {

constexpr std::uint64_t kPage = 4096;

// copy_file_range's ways of saying it cannot copy between these two files.
bool KernelCannotCopy(int number) {
    return number == EXDEV || number == EINVAL || number == ENOSYS || number == EOPNOTSUPP ||
           number == EBADF || number == EPERM || number == ETXTBSY;
}

}  // namespace

ErrorOr<FileHandle> AtomicFile::createUnnamed(const std::string& folder) {
    // It is given its name through /proc; without /proc it could not be.
    static const bool linkable = ::access("/proc/self/fd", X_OK) == 0;
    if (!linkable) return Error::fromErrno(EOPNOTSUPP);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return Error::fromErrno(errno);
    return FileHandle{fd};
}

ErrorOr<FileHandle> AtomicFile::createNew(const std::string& path) {
    // 0666 and the umask, as for any file a user's program creates.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Error::fromErrno(errno);
    return FileHandle{fd};
}

ErrorOr<void> AtomicFile::linkAs(const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(m_out);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return Error::fromErrno(errno);
    }
    return {};
}

ErrorOr<FileHandle> AtomicFile::openToRewrite(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Error::fromErrno(errno);
    return FileHandle{fd};
}

ErrorOr<std::size_t> AtomicFile::writeSome(const void* data, std::size_t size,
                                           std::uint64_t offset) {
    for (;;) {
        const ssize_t n = ::pwrite(static_cast<int>(m_out), data, size, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return Error::fromErrno(errno);
    }
}

ErrorOr<std::optional<std::uint64_t>> AtomicFile::copyInKernel(const InputFile& in,
                                                               std::uint64_t inOffset,
                                                               std::uint64_t offset,
                                                               std::uint64_t length) {
    // The kernel copies whole pages fast (on btrfs and XFS it shares them), but data whose
    // place in its page differs in the two files (ISO 9660 sectors are half a page) goes
    // faster through a small buffer.
    while (m_kernelCopy && inOffset % kPage == offset % kPage) {
        loff_t from = static_cast<loff_t>(inOffset);
        loff_t to = static_cast<loff_t>(offset);
        const ssize_t n = ::copy_file_range(static_cast<int>(in.handle()), &from,
                                            static_cast<int>(m_out), &to, length, 0);
        if (n >= 0) return std::optional<std::uint64_t>(static_cast<std::uint64_t>(n));
        if (errno == EINTR) continue;
        if (!KernelCannotCopy(errno)) return Error::fromErrno(errno);
        m_kernelCopy = false;  // this pair of file systems cannot; copy by hand
    }
    return std::optional<std::uint64_t>();
}

void AtomicFile::allowHoles() {}

ErrorOr<void> AtomicFile::setLength(std::uint64_t size) {
    if (::ftruncate(static_cast<int>(m_out), static_cast<off_t>(size)) != 0) {
        return Error::fromErrno(errno);
    }
    return {};
}

ErrorOr<void> AtomicFile::flushToDisk() {
    if (::fsync(static_cast<int>(m_out)) != 0) return Error::fromErrno(errno);
    return {};
}

void AtomicFile::keepWhenClosed() {}

ErrorOr<void> AtomicFile::closeStored() {
    // close() can report a delayed write error.
    if (::close(static_cast<int>(std::exchange(m_out, kNoFile))) != 0) {
        return Error::fromErrno(errno);
    }
    return {};
}

void AtomicFile::closeDropped() {
    ::close(static_cast<int>(std::exchange(m_out, kNoFile)));
}

ErrorOr<void> AtomicFile::renameOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return Error::fromErrno(errno);
    return {};
}

void AtomicFile::removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

}  // namespace pdixtract
