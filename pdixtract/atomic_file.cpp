#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "errors.h"

namespace pdix {

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    std::size_t slash = m_target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(rd()));
        m_temp = dir + "." + base + "." + suffix + ".part";
        // 0666 and the umask, as for any file a user's program creates.
        m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) return;
        if (errno != EEXIST) break;
    }
    int err = errno;
    m_temp.clear();
    fail(err);
}

AtomicFile::~AtomicFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
}

void AtomicFile::fail(int errnum) const {
    throw Error(ExitCode::write_failed, with_errno("cannot write " + m_target, errnum));
}

void AtomicFile::write_at(const void* data, std::size_t size, std::uint64_t offset) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::pwrite(m_fd, p, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
}

void AtomicFile::commit(std::uint64_t size) {
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) fail(errno);
    int fd = m_fd;
    m_fd = -1;
    // close() can report a delayed write error (NFS, quotas); such a file is not complete.
    if (::close(fd) != 0) fail(errno);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) fail(errno);
    m_temp.clear();
}

}  // namespace pdix
