// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "base/system_error_text.h"
#include "base/utf8.h"
#include "pdixtract/file_io.h"
#include "pdixtract/text_win32.h"

namespace pdixtract {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Closes a handle when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (ok()) CloseHandle(m_handle);
    }
    bool ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    HANDLE release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }

private:
    HANDLE m_handle;
};

// What an open handle is: a link is a symbolic link or a junction (other reparse points,
// such as files kept in the cloud, are what they hold).
FileKind KindOf(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info))
        return FileKind::Other;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) &&
        (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK || tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT))
        return FileKind::Symlink;
    return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Directory
                                                            : FileKind::Regular;
}

// A file's identity: the volume's serial number and the file's index on it.
FileId IdOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates path's missing parents, then path; a drive or share root is never created.
DWORD CreateFolder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return 0;
    DWORD code = GetLastError();
    std::size_t slash = path.find_last_of(L'\\');
    if (code != ERROR_PATH_NOT_FOUND || slash == std::wstring::npos || slash == 0 ||
        path[slash - 1] == L':' || path[slash - 1] == L'\\' || path[slash - 1] == L'?')
        return code;
    if (DWORD parent = CreateFolder(path.substr(0, slash));
        parent && !IsFolder(path.substr(0, slash)))
        return parent;
    return CreateDirectoryW(path.c_str(), nullptr) ? 0 : GetLastError();
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
    const std::u16string text = base::Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(std::wstring_view utf16) {
    return base::Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::wstring WidePath(const std::string& path) {
    std::wstring w = Wide(path);
    std::replace(w.begin(), w.end(), L'/', L'\\');
    // CreateDirectoryW stops 12 characters short of the classic limit.
    constexpr std::size_t kClassicLimit = MAX_PATH - 12;
    if (w.rfind(L"\\\\?\\", 0) == 0) return w;
    DWORD need = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (need < kClassicLimit) return w;
    std::wstring full(need, L'\0');
    full.resize(GetFullPathNameW(w.c_str(), need, full.data(), nullptr));
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

Error FromWindowsError(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return Error::fromErrno(ENOENT);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return Error::fromErrno(EEXIST);
        case ERROR_TOO_MANY_OPEN_FILES:
            return Error::fromErrno(EMFILE);
        default:
            return Error::fromSystemCode(code);
    }
}

std::string Error::text() const {
    if (m_number != 0) return std::strerror(m_number);
    return base::Utf16ToUtf8(base::SystemErrorText(m_systemCode));
}

FileStatus LookAt(const std::string& path) {
    Handle h(CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h.ok()) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const FileKind kind = KindOf(h.get(), info);
    return {kind, IdOf(info), SizeOf(info)};
}

ErrorOr<InputFile> InputFile::open(const std::string& path) {
    // Shared for deleting too: a member may be renamed or deleted while it is read, as
    // elsewhere, and the handle still reads the file that was opened.
    const std::wstring w = WidePath(path);
    Handle h(CreateFileW(w.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.ok()) {
        const DWORD code = GetLastError();
        if (code == ERROR_ACCESS_DENIED && IsFolder(w)) return Error::fromErrno(EINVAL);
        return FromWindowsError(code);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (KindOf(h.get(), info) != FileKind::Regular) return Error::fromErrno(EINVAL);
    return InputFile(reinterpret_cast<FileHandle>(h.release()), IdOf(info), SizeOf(info));
}

void InputFile::close() {
    if (m_handle != kNoFile)
        CloseHandle(reinterpret_cast<HANDLE>(std::exchange(m_handle, kNoFile)));
}

ErrorOr<std::size_t> InputFile::readAt(void* buffer, std::size_t length,
                                       std::uint64_t offset) const {
    // A positioned read: the offset travels in the OVERLAPPED, as pread's does.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    if (ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, want, &done, &at)) return done;
    const DWORD code = GetLastError();
    if (code == ERROR_HANDLE_EOF) return std::size_t{0};
    return FromWindowsError(code);
}

ErrorOr<void> RemoveIfSame(const std::string& path, const FileId& id) {
    // Checked and deleted through one handle, so no other file can take the name in between.
    Handle h(CreateFileW(WidePath(path).c_str(),
                         DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h.ok()) return FromWindowsError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (KindOf(h.get(), info) != FileKind::Regular || IdOf(info) != id)
        return Error::fromErrno(EEXIST);
    // Files copied from a disc are often read-only, which Windows would not delete.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes =
            (info.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(h.get(), FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO gone{TRUE};
    if (!SetFileInformationByHandle(h.get(), FileDispositionInfo, &gone, sizeof gone))
        return FromWindowsError(GetLastError());
    return {};
}

ErrorOr<void> MakeFolders(const std::string& path) {
    std::wstring w = WidePath(path);
    while (w.size() > 1 && w.back() == L'\\' && w[w.size() - 2] != L':') w.pop_back();
    const DWORD code = CreateFolder(w);
    if (IsFolder(w)) return {};
    if (code == 0 || code == ERROR_ALREADY_EXISTS) return Error::fromErrno(EEXIST);
    return FromWindowsError(code);
}

ErrorOr<std::vector<std::string>> FolderEntries(const std::string& dir) {
    std::wstring pattern = WidePath(dir.empty() ? "." : dir);
    if (pattern.back() != L'\\' && pattern.back() != L':') pattern += L'\\';
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW((pattern + L'*').c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return FromWindowsError(GetLastError());
    std::vector<std::string> names;
    do {
        names.push_back(Narrow(entry.cFileName));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

std::size_t OpenFileLimit() {
    // Windows sets no small limit on a process's handles.
    return 1 << 16;
}

std::size_t LastSeparator(const std::string& path) {
    std::size_t at = path.find_last_of("/\\");
    // "C:name" names a file in drive C's current folder.
    if (at == std::string::npos && path.size() >= 2 && path[1] == ':') return 1;
    return at;
}

bool UsableFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
        return false;
    if (std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c);
        }))
        return false;
    // CON, NUL, COM1, ... name devices, whatever extension follows.
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL"};
    if (std::any_of(std::begin(devices), std::end(devices),
                    [&](const char* d) { return stem == d; }))
        return false;
    return !(stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
             stem[3] >= '1' && stem[3] <= '9');
}

ErrorOr<std::string> ListFileName(const std::string& name) {
    const std::wstring w = Wide(name);
    BOOL lost = FALSE;
    std::string out(w.size() * 2, '\0');
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()),
                            out.data(), static_cast<int>(out.size()), nullptr, &lost);
    if (n <= 0 || lost) return Error::fromErrno(EILSEQ);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace pdixtract
