// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pdixtract {

// An open file of the platform (a descriptor here, a HANDLE on Windows).
using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;

// Which file a path named when it was looked at: equal ids are the same file.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileId&) const = default;
};

enum class FileKind { Missing, Regular, Directory, Symlink, Other };

// What lies at path, without following a final symlink; id and size are filled for a
// regular file. Anything that cannot be looked at counts as missing.
FileKind LookAt(const std::string& path, FileId* id = nullptr, std::uint64_t* size = nullptr);

// Opens a regular file for reading without ever blocking (a FIFO is refused, not waited
// for). Returns kNoFile with the reason in err; EINVAL means "not a regular file".
FileHandle OpenInput(const std::string& path, FileId& id, std::uint64_t& size, int& err);

// Closes a handle from OpenInput.
void CloseInput(FileHandle file);

// Reads up to len bytes at offset, retrying on interruption. Returns the bytes read
// (0 at the end of the file) or -1 with the reason in err.
std::int64_t ReadInput(FileHandle file, void* buf, std::size_t len, std::uint64_t offset, int& err);

// Deletes path only if it is still the file id. Returns 0, or the reason it was not
// deleted (EEXIST: another file has taken its name).
int RemoveIfSame(const std::string& path, const FileId& id);

// Makes folder path and any missing parents. Returns 0 when path is a folder (or a link to
// one) afterwards, else the reason: EEXIST when something else has that name.
int MakeFolders(const std::string& path);

// Names of the entries of folder dir ("" for the current one), unsorted; empty if unreadable.
std::vector<std::string> FolderEntries(const std::string& dir);

// How many files this process may have open at once.
std::size_t OpenFileLimit();

// The reason text of an error number.
std::string ErrorText(int err);

// Where the folder part of path ends: the index of its last separator ('/' here; on
// Windows also '\\' and a drive's ':'), or npos when path names a file in the current folder.
std::size_t LastSeparator(const std::string& path);

// True if name can be the name of a file in a folder here: not empty, ".", "..", nor holding
// a separator (on Windows neither a character nor a device name that Windows refuses).
bool UsableFileName(const std::string& name);

// name as a list file carries it: UTF-8 here, the ANSI code page on Windows, which the
// Windows Zelvorn reads. False if that encoding cannot hold the name.
bool ListFileName(const std::string& name, std::string& out);

}  // namespace pdixtract
