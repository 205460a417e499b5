// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The list file on this platform: where it lives, its stamp, its bytes and
// their encoding. list_file_access.cpp reads it; each platform's file
// (list_file_access_posix.cpp, list_file_access_win32.cpp) supplies the rest
// and the few system calls below the reading.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "list_file/list_file_reader.h"

namespace zelvorn {

// This platform's list file: "C:\pdilist.txt" on Windows; elsewhere
// pdilist.txt in the user's private runtime folder, never a shared folder
// where another user could plant or redirect it. Nothing when no usable
// private folder exists.
std::optional<std::u16string> ListFilePath();

// POSIX: pdilist.txt in `runtimeDir` (XDG_RUNTIME_DIR, may be null) when it
// is a private folder of ours, else in `fallback`, made private if missing,
// as the toolkit does; nothing when neither is ours and private.
std::optional<std::u16string> ListFileInPrivateFolder(const char* runtimeDir,
                                                      const std::string& fallback);

// This platform's list file with its stamp, as "Extract files" uses them.
ListFileLocation PlatformListFile();

// What the list file at `path` is like now; never follows a link.
ListFileStamp StampListFile(const std::u16string& path);

// Reads the list file at `path` whole, with its stamp, unless it is the same
// file, unchanged, as `before` recorded. Follows no link and reads only a
// plain file (on POSIX one the user owns), so a pipe, device or planted link
// cannot block the window or pass another file's lines off as the list.
ListFileRead ReadListFile(const std::u16string& path, const ListFileStamp& before);

// The platform's encoding of the list file: UTF-8 on Linux, the ANSI code
// page on Windows.
std::u16string DecodeListText(std::string_view bytes);

// How often a file selection window that waits for its list looks again.
inline constexpr int kListLookIntervalMs = 200;

// Calls back now and then while the file selection window waits for its
// list: the platform's timer, or in tests the test's own hand.
class Pulse {
public:
    virtual ~Pulse() = default;
    // Calls `beat` every kListLookIntervalMs until stop(); replaces any beat
    // started before.
    virtual void start(std::function<void()> beat) = 0;
    virtual void stop() = 0;
};

// Watches for the list a list command writes, for the file selection window.
class ListWatch {
public:
    // Hands each look at the list to `show`.
    ListWatch(ListRequest request, Pulse& pulse, std::function<void(const ListFileView&)> show)
        : m_request(std::move(request)), m_pulse(pulse), m_show(std::move(show)) {}
    ListWatch(const ListWatch&) = delete;
    ListWatch& operator=(const ListWatch&) = delete;
    ~ListWatch() { stop(); }

    // Looks at once, and again at each beat of the pulse while the list may
    // still come.
    void start();
    // No more looks: the window has closed.
    void stop();

private:
    // Looks once: first whether the list command has ended, then at the file,
    // so a list written just before the end is never missed. False once the
    // waiting is over.
    bool look();

    ListRequest m_request;
    Pulse& m_pulse;
    std::function<void(const ListFileView&)> m_show;
    ListFileStamp m_lastSeen;
    bool m_waiting = false;
    bool m_shownWaiting = false;
};

// The platform's primitives under ReadListFile.
namespace list_file_system {

// An open list file; closed when it goes.
class OpenFile {
public:
    explicit OpenFile(std::intptr_t handle) : m_handle(handle) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    std::intptr_t handle() const { return m_handle; }

private:
    std::intptr_t m_handle;  // a descriptor, or a HANDLE on Windows
};

// What opening the list file found: with the outcome Read, the open file and
// its stamp; otherwise why there is nothing to read (and for Unreadable, the
// system's reason).
struct Opened {
    ListFileRead::Outcome outcome = ListFileRead::Outcome::Missing;
    std::u16string reason;
    ListFileStamp stamp;
    std::unique_ptr<OpenFile> file;

    // Nothing to read, and why.
    static Opened Refused(ListFileRead::Outcome outcome, std::u16string reason = {}) {
        Opened opened;
        opened.outcome = outcome;
        opened.reason = std::move(reason);
        return opened;
    }
};

// Opens `path` for reading if it is a plain file of this user's: never
// through a link, and never blocking on a pipe or a device.
Opened OpenPlainFile(const std::u16string& path);

// What one read gave: `count` bytes (0 at the end of the file), or the
// system's reason why reading failed.
struct ReadSome {
    std::size_t count = 0;
    std::optional<std::u16string> error;
};

// Reads up to `size` bytes into `into`, retrying when interrupted.
ReadSome Read(const OpenFile& file, char* into, std::size_t size);

}  // namespace list_file_system

}  // namespace zelvorn
