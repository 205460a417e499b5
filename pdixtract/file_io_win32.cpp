// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <iterator>

#include "file_io.h"
#include "text_win32.h"

namespace pdix {

namespace {

// Error numbers at and above this are Windows error codes (from_windows_error).
constexpr int windows_errors = 0x10000;
constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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
FileKind kind_of(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info))
        return FileKind::other;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) &&
        (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK || tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT))
        return FileKind::symlink;
    return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::directory
                                                            : FileKind::regular;
}

// A file's identity: the volume's serial number and the file's index on it.
FileId id_of(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::uint64_t size_of(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool is_folder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates path's missing parents, then path; a drive or share root is never created.
DWORD create_folder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return 0;
    DWORD code = GetLastError();
    std::size_t slash = path.find_last_of(L'\\');
    if (code != ERROR_PATH_NOT_FOUND || slash == std::wstring::npos || slash == 0 ||
        path[slash - 1] == L':' || path[slash - 1] == L'\\' || path[slash - 1] == L'?')
        return code;
    if (DWORD parent = create_folder(path.substr(0, slash));
        parent && !is_folder(path.substr(0, slash)))
        return parent;
    return CreateDirectoryW(path.c_str(), nullptr) ? 0 : GetLastError();
}

}  // namespace

std::wstring wide(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                                static_cast<int>(out.size()));
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
    return out;
}

std::string narrow(const wchar_t* utf16, std::size_t length) {
    std::string out(length * 3, '\0');
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(length), out.data(),
                                static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
    return out;
}

std::wstring wide_path(const std::string& path) {
    std::wstring w = wide(path);
    std::replace(w.begin(), w.end(), L'/', L'\\');
    // CreateDirectoryW stops 12 characters short of the classic limit.
    constexpr std::size_t classic_limit = MAX_PATH - 12;
    if (w.rfind(L"\\\\?\\", 0) == 0) return w;
    DWORD need = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (need < classic_limit) return w;
    std::wstring full(need, L'\0');
    full.resize(GetFullPathNameW(w.c_str(), need, full.data(), nullptr));
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

int from_windows_error(unsigned long code) {
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
            return windows_errors + static_cast<int>(code & 0xFFFF);
    }
}

FileKind look_at(const std::string& path, FileId* id, std::uint64_t* size) {
    Handle h(CreateFileW(wide_path(path).c_str(), FILE_READ_ATTRIBUTES, share_all, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h.ok()) return FileKind::missing;
    BY_HANDLE_FILE_INFORMATION info{};
    FileKind kind = kind_of(h.get(), info);
    if (id) *id = id_of(info);
    if (size) *size = size_of(info);
    return kind;
}

FileHandle open_input(const std::string& path, FileId& id, std::uint64_t& size, int& err) {
    // Shared for deleting too: a member may be renamed or deleted while it is read, as
    // elsewhere, and the handle still reads the file that was opened.
    std::wstring w = wide_path(path);
    HANDLE h = CreateFileW(w.c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        err = code == ERROR_ACCESS_DENIED && is_folder(w) ? EINVAL : from_windows_error(code);
        return no_file;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (kind_of(h, info) != FileKind::regular) {
        CloseHandle(h);
        err = EINVAL;
        return no_file;
    }
    id = id_of(info);
    size = size_of(info);
    return reinterpret_cast<FileHandle>(h);
}

void close_input(FileHandle file) {
    if (file != no_file) CloseHandle(reinterpret_cast<HANDLE>(file));
}

std::int64_t read_input(FileHandle file, void* buf, std::size_t len, std::uint64_t offset,
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
    err = from_windows_error(code);
    return -1;
}

int remove_if_same(const std::string& path, const FileId& id) {
    // Checked and deleted through one handle, so no other file can take the name in between.
    Handle h(CreateFileW(wide_path(path).c_str(),
                         DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, share_all, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h.ok()) return from_windows_error(GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (kind_of(h.get(), info) != FileKind::regular || id_of(info) != id) return EEXIST;
    // Files copied from a disc are often read-only, which Windows would not delete.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes =
            (info.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(h.get(), FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO gone{TRUE};
    if (!SetFileInformationByHandle(h.get(), FileDispositionInfo, &gone, sizeof gone))
        return from_windows_error(GetLastError());
    return 0;
}

int make_folders(const std::string& path) {
    std::wstring w = wide_path(path);
    while (w.size() > 1 && w.back() == L'\\' && w[w.size() - 2] != L':') w.pop_back();
    DWORD code = create_folder(w);
    if (is_folder(w)) return 0;
    return code == 0 || code == ERROR_ALREADY_EXISTS ? EEXIST : from_windows_error(code);
}

std::vector<std::string> folder_entries(const std::string& dir) {
    std::vector<std::string> names;
    std::wstring pattern = wide_path(dir.empty() ? "." : dir);
    if (pattern.back() != L'\\' && pattern.back() != L':') pattern += L'\\';
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW((pattern + L'*').c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(narrow(entry.cFileName, std::wcslen(entry.cFileName)));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

std::size_t open_file_limit() {
    // Windows sets no small limit on a process's handles.
    return 1 << 16;
}

std::string error_text(int err) {
    if (err < windows_errors) return std::strerror(err);
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(err - windows_errors), 0, reinterpret_cast<wchar_t*>(&text), 0,
        nullptr);
    std::string out = n ? narrow(text, n) : "Windows error " + std::to_string(err - windows_errors);
    LocalFree(text);
    // Windows' texts end in a full stop and a line break; the message goes on after them.
    while (!out.empty() &&
           (out.back() == '.' || std::isspace(static_cast<unsigned char>(out.back()))))
        out.pop_back();
    return out;
}

std::size_t last_separator(const std::string& path) {
    std::size_t at = path.find_last_of("/\\");
    // "C:name" names a file in drive C's current folder.
    if (at == std::string::npos && path.size() >= 2 && path[1] == ':') return 1;
    return at;
}

bool usable_file_name(const std::string& name) {
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

bool list_file_name(const std::string& name, std::string& out) {
    std::wstring w = wide(name);
    BOOL lost = FALSE;
    out.assign(w.size() * 2, '\0');
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()),
                                out.data(), static_cast<int>(out.size()), nullptr, &lost);
    out.resize(static_cast<std::size_t>(std::max(n, 0)));
    return n > 0 && !lost;
}

}  // namespace pdix
