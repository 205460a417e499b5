// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "pdixtract/file_io.h"

namespace pdixtract {

// What to do where no temporary file can be made beside the target.
enum class WithoutTemporary {
    Fail,
    // Write a target that is a regular file in place: cut, written whole and flushed. Only
    // for the list file, where a standard Windows user may create no file (C:\) but may
    // write the one the setup made; its reader waits until pdixtract has ended.
    WriteInPlace,
};

// A file written under a temporary name beside its target and renamed over the target only
// by commit(), so nobody ever sees it half-written; dropped without commit, or interrupted
// by a signal, it leaves nothing. Only a missing target or a regular file is ever replaced.
class AtomicFile {
public:
    // Creates the temporary file in the target's folder. Throws Failure (WriteFailed), also
    // when target is a folder, a link, a device, a FIFO or a socket.
    explicit AtomicFile(std::string target, WithoutTemporary without = WithoutTemporary::Fail);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // The final path.
    const std::string& target() const { return m_target; }

    // Writes all of data at offset. Throws Failure (WriteFailed) naming the target.
    void writeAt(const void* data, std::size_t size, std::uint64_t offset);

    // Copies up to length bytes of in from inOffset to offset, in the kernel where it can;
    // returns the bytes copied, 0 if in ends at inOffset. Throws Failure: BadImage naming
    // inName when in cannot be read, WriteFailed naming the target.
    std::uint64_t copyFrom(const InputFile& in, const std::string& inName, std::uint64_t inOffset,
                           std::uint64_t offset, std::uint64_t length);

    // Throws Failure (WriteFailed) naming the target, with the reason.
    [[noreturn]] void fail(const Error& reason) const;

    // Closes the file and renames it over the target. Throws Failure: BadImage unless
    // exactly size bytes were put in (a short file is never padded), WriteFailed otherwise.
    void commit(std::uint64_t size);

private:
    // A fresh ".NAME.XXXXXXXX.part" beside the target, cut to fit a folder entry.
    std::string nextTemporaryName() const;
    void refuseOddTarget() const;
    // Throws Failure (BadImage) unless exactly size bytes were written.
    void checkComplete(std::uint64_t size) const;

    // The system calls, once per platform (atomic_file_posix.cpp, atomic_file_win32.cpp).
    // Creates path for writing, only if nothing has that name (else EEXIST).
    static ErrorOr<FileHandle> createNew(const std::string& path);
    // Opens the regular file path for writing, cut to nothing; never through a link, never
    // waiting on a FIFO.
    static ErrorOr<FileHandle> openToRewrite(const std::string& path);
    // Writes some of data at offset into m_out: the bytes written, 0 if none fit.
    ErrorOr<std::size_t> writeSome(const void* data, std::size_t size, std::uint64_t offset);
    // Copies up to length bytes of in into m_out in the kernel, where the platform can for
    // these files at these places: the bytes copied, or nothing when they are to go through
    // a buffer. EIO: in cannot be read.
    ErrorOr<std::optional<std::uint64_t>> copyInKernel(const InputFile& in, std::uint64_t inOffset,
                                                       std::uint64_t offset, std::uint64_t length);
    // Closes m_out once its bytes are stored, or reports why they may not be.
    ErrorOr<void> closeStored();
    // Closes m_out of a file that is dropped.
    void closeDropped();
    static ErrorOr<void> renameOver(const std::string& from, const std::string& to);
    static void removeFile(const std::string& path);

    std::string m_target;
    std::string m_temp;
    FileHandle m_out = kNoFile;
    int m_slot = -1;
    std::uint64_t m_written = 0;
    bool m_kernelCopy = true;
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace pdixtract
