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

// Error numbers at and above this are Windows error codes (FromWindowsError).
constexpr int kWindowsErrors = 0x10000;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (ok()) CloseHandle(m_h);
    }
    bool ok() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h;
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

int FromWindowsError(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        default:
            return kWindowsErrors + static_cast<int>(code & 0xFFFF);
    }
}

FileKind LookAt(const std::string& path, FileId* id, std::uint64_t* size) {
    Handle h(CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h.ok()) return FileKind::Missing;
    BY_HANDLE_FILE_INFORMATION info{};
    FileKind kind = KindOf(h.get(), info);
    if (id) *id = IdOf(info);
    if (size) *size = SizeOf(info);
    return kind;
}

FileHandle OpenInput(const std::string& path, FileId& id, std::uint64_t& size, int& err) {
    // Shared for deleting too: a member may be renamed or deleted while it is read, as
    // elsewhere, and the handle still reads the file that was opened.
    std::wstring w = WidePath(path);
    HANDLE h = CreateFileW(w.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        err = code == ERROR_ACCESS_DENIED && IsFolder(w) ? EINVAL : FromWindowsError(code);
        return kNoFile;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (KindOf(h, info) != FileKind::Regular) {
        CloseHandle(h);
        err = EINVAL;
        return kNoFile;
    }
    id = IdOf(info);
    size = SizeOf(info);
    return reinterpret_cast<FileHandle>(h);
}

void CloseInput(FileHandle file) {
    if (file != kNoFile) CloseHandle(reinterpret_cast<HANDLE>(file));
}

std::int64_t ReadInput(FileHandle file, void* buf, std::size_t len, std::uint64_t offset,
                       int& err) {
    // A positioned read: the offset travels in the OVERLAPPED, as pread's does.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(len, 1u << 30));
    if (ReadFile(reinterpret_cast<HANDLE>(file), buf, want, &done, &at)) return done;
    DWORD code = GetLastError();
    if (code == ERROR_HANDLE_EOF) return 0;
    err = FromWindowsError(code);
    return -1;
}

int RemoveIfSame(const std::string& path, const FileId& id) {
    // Checked and deleted through one handle, so no other file can take the name in between.
    Handle h(CreateFileW(WidePath(path).c_str(),
                         DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h.ok()) return FromWindowsError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (KindOf(h.get(), info) != FileKind::Regular || IdOf(info) != id) return EEXIST;
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
    return 0;
}

int MakeFolders(const std::string& path) {
    std::wstring w = WidePath(path);
    while (w.size() > 1 && w.back() == L'\\' && w[w.size() - 2] != L':') w.pop_back();
    DWORD code = CreateFolder(w);
    if (IsFolder(w)) return 0;
    return code == 0 || code == ERROR_ALREADY_EXISTS ? EEXIST : FromWindowsError(code);
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    std::wstring pattern = WidePath(dir.empty() ? "." : dir);
    if (pattern.back() != L'\\' && pattern.back() != L':') pattern += L'\\';
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW((pattern + L'*').c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return names;
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

std::string ErrorText(int err) {
    if (err < kWindowsErrors) return std::strerror(err);
    return base::Utf16ToUtf8(
        base::SystemErrorText(static_cast<std::uint32_t>(err - kWindowsErrors)));
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

bool ListFileName(const std::string& name, std::string& out) {
    std::wstring w = Wide(name);
    BOOL lost = FALSE;
    out.assign(w.size() * 2, '\0');
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()),
                                out.data(), static_cast<int>(out.size()), nullptr, &lost);
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
    return n > 0 && !lost;
}

}  // namespace pdixtract
