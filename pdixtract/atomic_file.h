// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// A file written as a temporary beside its target and put in the target's place only by
// commit(), so nobody ever sees it half-written. The temporary has no name where the system
// allows (Linux: O_TMPFILE) and is marked for deletion on close elsewhere (Windows), so even
// a killed process leaves nothing; where neither works it is ".NAME.XXXXXXXX.part", removed
// when dropped or interrupted by a signal. Only a missing target or a regular file is ever
// replaced. Nothing is flushed to the disk unless asked (flush), as cp and tar do.
class AtomicFile {
public:
    // Creates the temporary file in the target's folder. Throws Failure (WriteFailed), also
    // when target is a folder, a link, a device, a FIFO or a socket.
    explicit AtomicFile(std::string target, bool flush = false,
                        WithoutTemporary without = WithoutTemporary::Fail);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // The final path.
    const std::string& target() const { return m_target; }

    // Writes all of data at offset. Throws Failure (WriteFailed) naming the target.
    void writeAt(const void* data, std::size_t size, std::uint64_t offset);

    // Counts size bytes of zeros as put in without writing them: a hole, sparse where the
    // file system allows. Throws Failure (WriteFailed) naming the target.
    void addHole(std::uint64_t size);

    // Copies up to length bytes of in from inOffset to offset, in the kernel where it can;
    // returns the bytes copied, 0 if in ends at inOffset. Throws Failure: BadImage naming
    // inName when in cannot be read, WriteFailed naming the target.
    std::uint64_t copyFrom(const InputFile& in, const std::string& inName, std::uint64_t inOffset,
                           std::uint64_t offset, std::uint64_t length);

    // Throws Failure (WriteFailed) naming the target, with the reason.
    [[noreturn]] void fail(const Error& reason) const;

    // Puts the file in the target's place. Throws Failure: BadImage unless exactly size
    // bytes were put in (a short file is never padded), WriteFailed otherwise.
    void commit(std::uint64_t size);

private:
    // A fresh ".NAME.XXXXXXXX.part" beside the target, cut to fit a folder entry.
    std::string nextTemporaryName() const;
    void refuseOddTarget() const;
    // Throws Failure (BadImage) unless exactly size bytes were put in.
    void checkComplete(std::uint64_t size) const;
    // Gives the temporary a fresh temporary name through make, which finds EEXIST when the
    // name is taken.
    ErrorOr<void> takeTemporaryName(const std::function<ErrorOr<void>(const std::string&)>& make);
    // Opens the target itself for writing when it is a regular file: whether it could.
    bool openInPlace();

    // The system calls, once per platform (atomic_file_posix.cpp, atomic_file_win32.cpp).
    // Creates a file without a name in folder ("" for the current one), gone when closed.
    static ErrorOr<FileHandle> createUnnamed(const std::string& folder);
    // Creates path for writing, only if nothing has that name (else EEXIST); where the
    // system can, the file is deleted when closed until keepWhenClosed().
    static ErrorOr<FileHandle> createNew(const std::string& path);
    // Gives the unnamed m_out the name path, only if nothing has it (else EEXIST).
    ErrorOr<void> linkAs(const std::string& path);
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
    // Lets unwritten ranges of m_out stay holes (Windows asks for it; elsewhere they are).
    void allowHoles();
    // Sets m_out's length, adding zeros (a hole) or cutting.
    ErrorOr<void> setLength(std::uint64_t size);
    // Waits until m_out's bytes are on the disk.
    ErrorOr<void> flushToDisk();
    // Takes back createNew's deletion on close.
    void keepWhenClosed();
    // Closes m_out once its bytes are stored, or reports why they may not be.
    ErrorOr<void> closeStored();
    // Closes m_out of a file that is dropped.
    void closeDropped();
    static ErrorOr<void> renameOver(const std::string& from, const std::string& to);
    static void removeFile(const std::string& path);

    std::string m_target;
    std::string m_temp;  // the temporary's name; empty while it has none
    FileHandle m_out = kNoFile;
    int m_slot = -1;
    std::uint64_t m_written = 0;
    bool m_flush;
    bool m_inPlace = false;
    bool m_holes = false;
    bool m_kernelCopy = true;
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace pdixtract
