// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "pdixtract/file_io.h"

namespace pdixtract {

// A file written under a temporary name beside its target and renamed over the target only
// by commit(), so nobody ever sees it half-written; dropped without commit, or interrupted
// by a signal, it leaves nothing. Only a missing target or a regular file is ever replaced.
class AtomicFile {
public:
    // Creates the temporary file in the target's folder. Throws Error (WriteFailed), also
    // when target is a folder, a link, a device, a FIFO or a socket.
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // The final path.
    const std::string& target() const { return m_target; }

    // Writes all of data at offset. Throws Error (WriteFailed) naming the target.
    void writeAt(const void* data, std::size_t size, std::uint64_t offset);

    // Copies up to len bytes of in from inOffset to offset, in the kernel where it can;
    // returns the bytes copied, 0 if in ends at inOffset. Throws Error: BadImage naming
    // inName when in cannot be read, WriteFailed naming the target.
    std::uint64_t copyFrom(FileHandle in, const std::string& inName, std::uint64_t inOffset,
                           std::uint64_t offset, std::uint64_t len);

    // Throws Error (WriteFailed) naming the target, with the reason errnum.
    [[noreturn]] void fail(int errnum) const;

    // Closes the file and renames it over the target. Throws Error: BadImage unless exactly
    // size bytes were put in (a short file is never padded), WriteFailed otherwise.
    void commit(std::uint64_t size);

private:
    // A fresh ".NAME.XXXXXXXX.part" beside the target, cut to fit a folder entry.
    std::string nextTemporaryName() const;
    void refuseOddTarget() const;
    // Throws Error (BadImage) unless exactly size bytes were written.
    void checkComplete(std::uint64_t size) const;

    std::string m_target;
    std::string m_temp;
    FileHandle m_out = kNoFile;
    int m_slot = -1;
    std::uint64_t m_written = 0;
    bool m_kernelCopy = true;
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace pdixtract
