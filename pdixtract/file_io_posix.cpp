// SPDX-License-Identifier: GPL-3.0-or-later
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "pdixtract/file_io.h"

namespace pdixtract {

namespace {

FileKind KindOf(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISDIR(st.st_mode)) return FileKind::Directory;
    if (S_ISLNK(st.st_mode)) return FileKind::Symlink;
    return FileKind::Other;
}

FileId IdOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

std::string Error::text() const {
    return std::strerror(m_number);
}

FileStatus LookAt(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    return {KindOf(st), IdOf(st), static_cast<std::uint64_t>(st.st_size)};
}

ErrorOr<InputFile> InputFile::open(const std::string& path) {
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Error::fromErrno(errno);
    InputFile file(fd, {}, 0);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return Error::fromErrno(EINVAL);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    file.m_id = IdOf(st);
    file.m_size = static_cast<std::uint64_t>(st.st_size);
    return file;
}

void InputFile::close() {
    if (m_handle != kNoFile) ::close(static_cast<int>(std::exchange(m_handle, kNoFile)));
}

ErrorOr<std::size_t> InputFile::readAt(void* buffer, std::size_t length,
                                       std::uint64_t offset) const {
    for (;;) {
        const ssize_t n =
            ::pread(static_cast<int>(m_handle), buffer, length, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return Error::fromErrno(errno);
    }
}

ErrorOr<void> RemoveIfSame(const std::string& path, const FileId& id) {
    const FileStatus now = LookAt(path);
    if (now.kind == FileKind::Missing) return Error::fromErrno(ENOENT);
    if (now.kind != FileKind::Regular || now.id != id) return Error::fromErrno(EEXIST);
    if (::unlink(path.c_str()) != 0) return Error::fromErrno(errno);
    return {};
}

ErrorOr<void> MakeFolders(const std::string& path) {
    std::error_code made, looked;
    std::filesystem::create_directories(path, made);
    if (std::filesystem::is_directory(path, looked)) return {};
    return Error::fromErrno(made ? made.value() : EEXIST);
}

ErrorOr<std::vector<std::string>> FolderEntries(const std::string& dir) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return Error::fromErrno(errno);
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    ::closedir(d);
    return names;
}

std::size_t OpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 1024;
    return static_cast<std::size_t>(limit.rlim_cur);
}

std::size_t LastSeparator(const std::string& path) {
    return path.rfind('/');
}

bool UsableFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

ErrorOr<std::string> ListFileName(const std::string& name) {
    return name;
}

}  // namespace pdixtract
