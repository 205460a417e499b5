// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "file_io.h"

namespace pdix {

// A file written under a temporary name beside its target and renamed over the target only
// by commit(), so nobody ever sees it half-written; dropped without commit, or interrupted
// by a signal, it leaves nothing. Only a missing target or a regular file is ever replaced.
class AtomicFile {
public:
    // Creates the temporary file in the target's folder. Throws Error (write_failed), also
    // when target is a folder, a link, a device, a FIFO or a socket.
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // The final path.
    const std::string& target() const { return m_target; }

    // Writes all of data at offset. Throws Error (write_failed) naming the target.
    void write_at(const void* data, std::size_t size, std::uint64_t offset);

    // Copies up to len bytes of in from in_offset to offset, in the kernel where it can;
    // returns the bytes copied, 0 if in ends at in_offset. Throws Error: bad_image naming
    // in_name when in cannot be read, write_failed naming the target.
    std::uint64_t copy_from(FileHandle in, const std::string& in_name, std::uint64_t in_offset,
                            std::uint64_t offset, std::uint64_t len);

    // Throws Error (write_failed) naming the target, with the reason errnum.
    [[noreturn]] void fail(int errnum) const;

    // Closes the file and renames it over the target. Throws Error: bad_image unless exactly
    // size bytes were put in (a short file is never padded), write_failed otherwise.
    void commit(std::uint64_t size);

private:
    // A fresh ".NAME.XXXXXXXX.part" beside the target, cut to fit a folder entry.
    std::string next_temporary_name() const;
    void refuse_odd_target() const;
    // Throws Error (bad_image) unless exactly size bytes were written.
    void check_complete(std::uint64_t size) const;

    std::string m_target;
    std::string m_temp;
    FileHandle m_out = no_file;
    int m_slot = -1;
    std::uint64_t m_written = 0;
    bool m_kernel_copy = true;
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace pdix
