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
    return {true,
            static_cast<std::uint64_t>(st.st_dev),
            static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// A folder only this user can enter: ours, and no one else's to read or plant in.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

ListFileRead Unreadable(int error) {
    return {ListFileRead::Outcome::Unreadable, {}, base::Utf8ToUtf16(std::strerror(error))};
}

}  // namespace

std::optional<std::u16string> ListFilePath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder;
    if (runtime != nullptr && *runtime != '\0') {
        folder = runtime;
    } else {
        // The desktop made none: keep one of our own, as the toolkit would.
        folder = "/tmp/runtime-" + std::to_string(::geteuid());
        ::mkdir(folder.c_str(), 0700);
    }
    if (!IsPrivateFolder(folder)) return std::nullopt;
    return ListFileIn(base::Utf8ToUtf16(folder));
}

ListFileStamp StampListFile(const std::u16string& path) {
    struct stat st {};
    if (::lstat(base::Utf16ToUtf8(path).c_str(), &st) != 0) return {};
    return StampOf(st);
}

ListFileRead ReadListFile(const std::u16string& path, const ListFileStamp& before) {
    // No link is followed, and a pipe or device opens without blocking.
    const int fd = ::open(base::Utf16ToUtf8(path).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {ListFileRead::Outcome::Missing, {}, {}};
        if (errno == ELOOP) return {ListFileRead::Outcome::NotPlainFile, {}, {}};
        return Unreadable(errno);
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Unreadable(errno);
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        return {ListFileRead::Outcome::NotPlainFile, {}, {}};
    }
    if (before.present && StampOf(st) == before) return {ListFileRead::Outcome::Unchanged, {}, {}};
    if (static_cast<std::uint64_t>(st.st_size) > kMaxListFileBytes) {
        return {ListFileRead::Outcome::TooLarge, {}, {}};
    }
    // One byte more than allowed tells a file that grows while it is read.
    ListFileRead read{ListFileRead::Outcome::Read, {}, {}};
    std::string& bytes = read.bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() > kMaxListFileBytes) return {ListFileRead::Outcome::TooLarge, {}, {}};
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kMaxListFileBytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Unreadable(errno);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return read;
}

std::u16string DecodeListText(std::string_view bytes) {
    return base::Utf8ToUtf16(bytes);
}

}  // namespace zelvorn
