// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/dialogs_win32.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstddef>
#include <string>

#include "window_kit/system_library_win32.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

// OPENFILENAME_SIZE_VERSION_400A as a constant: the record up to
// lpTemplateName, without the three fields that Windows 2000 added. That is 76
// bytes in a 32-bit program and 136 in a 64-bit one.
constexpr DWORD kOpenRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kOpenRecordSize == (sizeof(void*) == 4 ? 76 : 136));

// The file name buffers of the open dialog: 254 blanks and the terminator,
// so the dialog's name box starts blank.
constexpr DWORD kOpenBufferSize = 255;

// The filter list of a file dialog: description and pattern of each filter,
// each ended by a NUL; the string's own terminator ends the list.
template <typename String, typename Convert>
String FilterList(const std::vector<FileFilter>& filters, Convert convert) {
    String list;
    for (const FileFilter& filter : filters) {
        list += convert(filter.description);
        list += '\0';
        list += convert(filter.pattern);
        list += '\0';
    }
    return list;
}

std::wstring Wide(std::u16string_view text) {
    return std::wstring(WideOf(text));
}

// The dialogs' functions, from comdlg32, shell32 and ole32. These DLLs are
// loaded at the first dialog, not at start: the main window needs none of
// them, and loading them first delays it by a tenth.
struct DialogFunctions {
    decltype(&GetOpenFileNameA) getOpenFileName;
    decltype(&GetSaveFileNameW) getSaveFileName;
    decltype(&SHBrowseForFolderA) browseForFolder;
    decltype(&SHGetPathFromIDListA) pathFromIdList;
    decltype(&CoTaskMemFree) freeIdList;
};

const DialogFunctions& Functions() {
    static const DialogFunctions functions = [] {
        // The shell's dialogs need COM in this thread.
        if (const auto initialize =
                SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")) {
            initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        }
        return DialogFunctions{
            SystemFunction<decltype(&GetOpenFileNameA)>(L"comdlg32.dll", "GetOpenFileNameA"),
            SystemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW"),
            SystemFunction<decltype(&SHBrowseForFolderA)>(L"shell32.dll", "SHBrowseForFolderA"),
            SystemFunction<decltype(&SHGetPathFromIDListA)>(L"shell32.dll", "SHGetPathFromIDListA"),
            SystemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree"),
        };
    }();
    return functions;
}

// Tells why a dialog cannot be shown: one of Windows' own DLLs is missing.
void ReportMissingDialog(HWND owner, const wchar_t* dialog, const wchar_t* library) {
    const std::wstring text = std::wstring(L"The ") + dialog +
                              L" dialog cannot be shown: Windows' " + library +
                              L" could not be loaded from the system folder.\n\nRepair Windows "
                              L"(sfc /scannow in a command prompt run as administrator), then try "
                              L"again. Meanwhile, type the path into the field.";
    MessageBoxW(owner, text.c_str(), L"Dialog not available", MB_OK | MB_ICONWARNING);
}

}  // namespace

// The window the user pressed in is the active one: a box owned by it keeps
// that window from taking another press while the box is open.
HWND Win32Dialogs::owner() const {
    const HWND active = GetActiveWindow();
    return active ? active : m_owner;
}

void Win32Dialogs::showError(const std::u16string& title, const std::u16string& text) {
    MessageBoxW(owner(), WideOf(text), WideOf(title), MB_OK | MB_ICONWARNING);
}

std::optional<std::u16string> Win32Dialogs::chooseFileToOpen(const OpenFileRequest& request) {
    const auto getOpenFileName = Functions().getOpenFileName;
    if (!getOpenFileName) {
        ReportMissingDialog(owner(), L"Open File", L"comdlg32.dll");
        return std::nullopt;
    }
    std::string file(kOpenBufferSize - 1, ' ');
    std::string fileTitle(kOpenBufferSize - 1, ' ');
    const auto filters = FilterList<std::string>(request.filters, ToAnsi);
    const std::string initialDir = ToAnsi(request.startFolder);
    const std::string title = ToAnsi(request.title);

    OPENFILENAMEA open{};  // every field not set below is none or 0
    open.lStructSize = kOpenRecordSize;
    open.hwndOwner = owner();
    open.hInstance = GetModuleHandleW(nullptr);
    open.lpstrFilter = filters.c_str();
    open.nFilterIndex = 0;  // no custom filter, so the first pair is selected
    open.lpstrFile = file.data();
    open.nMaxFile = kOpenBufferSize;
    open.lpstrFileTitle = fileTitle.data();
    open.nMaxFileTitle = kOpenBufferSize;
    open.lpstrInitialDir = initialDir.c_str();
    open.lpstrTitle = title.c_str();
    open.Flags = 0;
    if (!getOpenFileName(&open)) return std::nullopt;
    return FromAnsi(file.c_str());
}

std::optional<std::u16string> Win32Dialogs::chooseFolder(const std::u16string& title) {
    const DialogFunctions& shell = Functions();
    if (!shell.browseForFolder || !shell.pathFromIdList || !shell.freeIdList) {
        ReportMissingDialog(owner(), L"Browse for Folder", L"shell32.dll");
        return std::nullopt;
    }
    const std::string prompt = ToAnsi(title);
    BROWSEINFOA browse{};  // from the desktop, no flags, no display name
    browse.hwndOwner = owner();
    browse.lpszTitle = prompt.c_str();
    PIDLIST_ABSOLUTE chosen = shell.browseForFolder(&browse);
    if (!chosen) return std::nullopt;
    // The lookup may write up to MAX_PATH characters, more than a 255-byte
    // buffer could take; this one takes them all.
    char path[MAX_PATH] = {};
    const BOOL found = shell.pathFromIdList(chosen, path);
    shell.freeIdList(chosen);
    if (!found) return std::nullopt;
    path[MAX_PATH - 1] = '\0';
    return FromAnsi(path);
}

std::optional<std::u16string> Win32Dialogs::chooseFileToSave(
    const std::u16string& startName, const std::vector<FileFilter>& filters) {
    const auto getSaveFileName = Functions().getSaveFileName;
    if (!getSaveFileName) {
        ReportMissingDialog(owner(), L"Save As", L"comdlg32.dll");
        return std::nullopt;
    }
    // Wide, unlike the pickers: an ISO name the ANSI code page cannot hold
    // reaches the command line as it was typed.
    wchar_t file[MAX_PATH] = {};
    Wide(startName).copy(file, MAX_PATH - 1);
    const auto filterList = FilterList<std::wstring>(filters, Wide);

    OPENFILENAMEW save{};
    save.lStructSize = sizeof save;
    save.hwndOwner = owner();
    save.lpstrFilter = filterList.c_str();
    save.nFilterIndex = 1;
    save.lpstrFile = file;
    save.nMaxFile = MAX_PATH;
    save.Flags = 0;  // in particular no overwrite prompt
    if (!getSaveFileName(&save)) return std::nullopt;
    return std::u16string(U16Of(file));
}

bool Win32Dialogs::askYesNo(const std::u16string& title, const std::u16string& text) {
    return MessageBoxW(owner(), WideOf(text), WideOf(title), MB_YESNO) == IDYES;
}

}  // namespace zelvorn
