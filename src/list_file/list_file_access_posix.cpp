// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/utf8.h"
#include "list_file/list_file_access.h"

namespace zelvorn {

namespace {

ListFileStamp StampOf(const struct stat& st) {
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// A folder only this user can enter: ours, and no one else's to read or plant in.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

std::u16string ReasonOf(int error) {
    return base::Utf8ToUtf16(std::strerror(error));
}

}  // namespace

std::optional<std::u16string> ListFilePath() {
    return ListFileInPrivateFolder(std::getenv("XDG_RUNTIME_DIR"),
                                   "/tmp/runtime-" + std::to_string(::geteuid()));
}

std::optional<std::u16string> ListFileInPrivateFolder(const char* runtimeDir,
                                                      const std::string& fallback) {
    // su and sudo keep another user's folder in XDG_RUNTIME_DIR, and an ended
    // session leaves it naming none: then keep one of our own.
    if (runtimeDir != nullptr && IsPrivateFolder(runtimeDir)) {
        if (auto path = ListFileIn(base::Utf8ToUtf16(runtimeDir))) return path;
    }
    ::mkdir(fallback.c_str(), 0700);
    if (!IsPrivateFolder(fallback)) return std::nullopt;
    return ListFileIn(base::Utf8ToUtf16(fallback));
}

ListFileStamp StampListFile(const std::u16string& path) {
    struct stat st {};
    if (::lstat(base::Utf16ToUtf8(path).c_str(), &st) != 0) return {};
    return StampOf(st);
}

std::u16string DecodeListText(std::string_view bytes) {
    return base::Utf8ToUtf16(bytes);
}

namespace list_file_system {

OpenFile::~OpenFile() {
    ::close(static_cast<int>(m_handle));
}

Opened OpenPlainFile(const std::u16string& path) {
    using Outcome = ListFileRead::Outcome;
    // No link is followed, and a pipe or device opens without blocking.
    const int fd =
        ::open(base::Utf16ToUtf8(path).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return Opened::Refused(Outcome::Missing);
        if (errno == ELOOP) return Opened::Refused(Outcome::NotPlainFile);
        return Opened::Refused(Outcome::Unreadable, ReasonOf(errno));
    }
    auto file = std::make_unique<OpenFile>(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Opened::Refused(Outcome::Unreadable, ReasonOf(errno));
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return Opened::Refused(Outcome::NotPlainFile);
    return {Outcome::Read, {}, StampOf(st), std::move(file)};
}

ReadSome Read(const OpenFile& file, char* into, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(file.handle()), into, size);
        if (n >= 0) return {static_cast<std::size_t>(n), std::nullopt};
        if (errno != EINTR) return {0, ReasonOf(errno)};
    }
}

}  // namespace list_file_system

}  // namespace zelvorn
