// SPDX-License-Identifier: GPL-3.0-or-later
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "file_io.h"

namespace pdix {

namespace {

FileKind kind_of(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return FileKind::regular;
    if (S_ISDIR(st.st_mode)) return FileKind::directory;
    if (S_ISLNK(st.st_mode)) return FileKind::symlink;
    return FileKind::other;
}

FileId id_of(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

FileKind look_at(const std::string& path, FileId* id, std::uint64_t* size) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return FileKind::missing;
    if (id) *id = id_of(st);
    if (size) *size = static_cast<std::uint64_t>(st.st_size);
    return kind_of(st);
}

FileHandle open_input(const std::string& path, FileId& id, std::uint64_t& size, int& err) {
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer forever.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        err = errno;
        return no_file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = EINVAL;
        ::close(fd);
        return no_file;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    id = id_of(st);
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

void close_input(FileHandle file) {
    if (file != no_file) ::close(static_cast<int>(file));
}

std::int64_t read_input(FileHandle file, void* buf, std::size_t len, std::uint64_t offset,
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

int remove_if_same(const std::string& path, const FileId& id) {
    FileId now;
    FileKind kind = look_at(path, &now);
    if (kind == FileKind::missing) return ENOENT;
    if (kind != FileKind::regular || now != id) return EEXIST;
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int make_folders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (std::filesystem::is_directory(path)) return 0;
    return ec ? ec.value() : EEXIST;
}

std::vector<std::string> folder_entries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return names;
    while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    ::closedir(d);
    return names;
}

std::size_t open_file_limit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 1024;
    return static_cast<std::size_t>(limit.rlim_cur);
}

std::string error_text(int err) {
    return std::strerror(err);
}

std::size_t last_separator(const std::string& path) {
    return path.rfind('/');
}

bool usable_file_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool list_file_name(const std::string& name, std::string& out) {
    out = name;
    return true;
}

}  // namespace pdix
