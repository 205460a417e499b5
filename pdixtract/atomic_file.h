#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pdix {

// A file written under a temporary name beside its target and renamed over the target only
// by commit(), so nobody ever sees it half-written; dropped without commit, it leaves nothing.
class AtomicFile {
public:
    // Creates the temporary file in the target's folder. Throws Error (write_failed).
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Descriptor of the temporary file, for copy_file_range and friends.
    int fd() const { return m_fd; }

    // The final path.
    const std::string& target() const { return m_target; }

    // The temporary path while the file is open.
    const std::string& temp_path() const { return m_temp; }

    // Writes all of data at offset. Throws Error (write_failed) naming the target.
    void write_at(const void* data, std::size_t size, std::uint64_t offset);

    // Throws Error (write_failed) naming the target, with the reason errnum.
    [[noreturn]] void fail(int errnum) const;

    // Sets the final size, closes and renames over the target. Throws Error (write_failed).
    void commit(std::uint64_t size);

private:
    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
};

}  // namespace pdix
