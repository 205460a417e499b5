// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The file system as pdixtract uses it, once per platform (file_io_posix.cpp,
// file_io_win32.cpp). Whatever can fail gives back an ErrorOr.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pdixtract/errors.h"

namespace pdixtract {

// An open file of the platform (a descriptor here, a HANDLE on Windows).
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// Which file a path named when it was looked at: equal ids are the same file.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileId&) const = default;
};

enum class FileKind { Missing, Regular, Directory, Symlink, Other };

// What lay at a path; id and size are those of a regular file.
struct FileStatus {
    FileKind kind = FileKind::Missing;
    FileId id;
    std::uint64_t size = 0;
};

// What lies at path, without following a final symlink. Anything that cannot be looked at
// counts as missing.
FileStatus LookAt(const std::string& path);

// A regular file open for reading, closed when it goes.
class InputFile {
public:
    // Opens path without ever blocking (a FIFO is refused, not waited for). EINVAL: path
    // is not a regular file.
    static ErrorOr<InputFile> open(const std::string& path);

    InputFile() = default;
    InputFile(InputFile&& other) noexcept { *this = std::move(other); }
    InputFile& operator=(InputFile&& other) noexcept {
        if (this != &other) {
            close();
            m_handle = std::exchange(other.m_handle, kNoFile);
            m_id = other.m_id;
            m_size = other.m_size;
        }
        return *this;
    }
    ~InputFile() { close(); }

    bool isOpen() const { return m_handle != kNoFile; }
    FileHandle handle() const { return m_handle; }
    // The file and its size as it was opened.
    const FileId& id() const { return m_id; }
    std::uint64_t size() const { return m_size; }

    // Reads up to length bytes at offset, retrying on interruption: the bytes read, 0 at the
    // end of the file.
    ErrorOr<std::size_t> readAt(void* buffer, std::size_t length, std::uint64_t offset) const;

    void close();

private:
    InputFile(FileHandle handle, const FileId& id, std::uint64_t size)
        : m_handle(handle), m_id(id), m_size(size) {}

    FileHandle m_handle = kNoFile;
    FileId m_id;
    std::uint64_t m_size = 0;
};

// Deletes path only if it is still the file id. EEXIST: another file has taken its name.
ErrorOr<void> RemoveIfSame(const std::string& path, const FileId& id);

// Makes folder path and any missing parents; fine when path is a folder (or a link to one)
// afterwards. EEXIST: something else has that name.
ErrorOr<void> MakeFolders(const std::string& path);

// Names of the entries of folder dir ("" for the current one), unsorted.
ErrorOr<std::vector<std::string>> FolderEntries(const std::string& dir);

// How many files this process may have open at once.
std::size_t OpenFileLimit();

// Where the folder part of path ends: the index of its last separator ('/' here; on
// Windows also '\\' and a drive's ':'), or npos when path names a file in the current folder.
std::size_t LastSeparator(const std::string& path);

// True if name can be the name of a file in a folder here: not empty, ".", "..", nor holding
// a separator (on Windows neither a character nor a device name that Windows refuses).
bool UsableFileName(const std::string& name);

// name as a list file carries it: UTF-8 here, the ANSI code page on Windows, which the
// Windows Zelvorn reads. EILSEQ: that encoding cannot hold the name.
ErrorOr<std::string> ListFileName(const std::string& name);

}  // namespace pdixtract
