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

FileKind LookAt(const std::string& path, FileId* id, std::uint64_t* size) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return FileKind::Missing;
    if (id) *id = IdOf(st);
    if (size) *size = static_cast<std::uint64_t>(st.st_size);
    return KindOf(st);
}

FileHandle OpenInput(const std::string& path, FileId& id, std::uint64_t& size, int& err) {
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer forever.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        err = errno;
        return kNoFile;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = EINVAL;
        ::close(fd);
        return kNoFile;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    id = IdOf(st);
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

void CloseInput(FileHandle file) {
    if (file != kNoFile) ::close(static_cast<int>(file));
}

std::int64_t ReadInput(FileHandle file, void* buf, std::size_t len, std::uint64_t offset,
                       int& err) {
    for (;;) {
        ssize_t n = ::pread(static_cast<int>(file), buf, len, static_cast<off_t>(offset));
        if (n >= 0) return n;
        if (errno != EINTR) {
            err = errno;
            return -1;
        }
    }
}

int RemoveIfSame(const std::string& path, const FileId& id) {
    FileId now;
    FileKind kind = LookAt(path, &now);
    if (kind == FileKind::Missing) return ENOENT;
    if (kind != FileKind::Regular || now != id) return EEXIST;
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int MakeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (std::filesystem::is_directory(path)) return 0;
    return ec ? ec.value() : EEXIST;
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return names;
    while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    ::closedir(d);
    return names;
}

std::size_t OpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 1024;
    return static_cast<std::size_t>(limit.rlim_cur);
}

std::string ErrorText(int err) {
    return std::strerror(err);
}

std::size_t LastSeparator(const std::string& path) {
    return path.rfind('/');
}

bool UsableFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool ListFileName(const std::string& name, std::string& out) {
    out = name;
    return true;
}

}  // namespace pdixtract
