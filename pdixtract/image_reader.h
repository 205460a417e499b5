#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "member_set.h"

struct archive;

namespace pdix {

// A regular file of the image, as its directory records describe it.
struct ImageFile {
    std::string path;  // full path inside the image, "/"-separated
    std::string name;  // last path component: the name it is listed and extracted by
    std::uint64_t size = 0;
    // For a second directory record of the same data: index of the file that carries the data.
    std::optional<std::size_t> data_of;
};

// Throws Error (bad_image) unless the set holds an ISO 9660 volume at least as long as its
// primary volume descriptor says; display names the set in the message.
void check_image(const MemberSet& set, const std::string& display);

// Reads the image of a set with libarchive through our own read/skip/seek callbacks, so
// skipping file data seeks instead of reading, also across member boundaries.
class ImageReader {
public:
    // Largest single read; big reads make data throughput close to a plain copy.
    static constexpr std::size_t max_block = 1 << 20;
    // First read after a jump; directory reads stay small while listing.
    static constexpr std::size_t min_block = 16 << 10;

    // Opens the image; throws Error (bad_image) if libarchive does not take it as ISO 9660.
    ImageReader(const MemberSet& set, std::string display);
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;
    ~ImageReader();

    // Moves to the next regular file, skipping directories and other entries;
    // false at the end of the image. Throws Error (bad_image) on a corrupt image.
    bool next(ImageFile& out);

    // Streams the current file's data to sink(data, size, offset_in_file) in image order.
    // Throws Error (bad_image) on a read failure; exceptions from sink pass through.
    void read_data(const std::function<void(const void*, std::size_t, std::uint64_t)>& sink);

    // Bytes this reader has fetched from the member files so far.
    std::uint64_t bytes_fetched() const { return m_fetched; }

private:
    static long on_read(struct archive* a, void* self, const void** buf);
    static std::int64_t on_skip(struct archive* a, void* self, std::int64_t request);
    static std::int64_t on_seek(struct archive* a, void* self, std::int64_t offset, int whence);
    [[noreturn]] void fail(const std::string& what);

    const MemberSet& m_set;
    std::string m_display;
    struct archive* m_archive = nullptr;
    std::vector<char> m_buf;
    std::uint64_t m_pos = 0;
    std::size_t m_block = min_block;
    std::uint64_t m_fetched = 0;
    std::exception_ptr m_callback_error;  // an Error thrown inside a callback, rethrown after
    std::size_t m_index = 0;              // index of the next regular file
    // Every data-carrying file so far: path -> (index, size), to resolve hard links.
    std::unordered_map<std::string, std::pair<std::size_t, std::uint64_t>> m_seen;
};

// Lists the regular files of the image in image order (cheap: reads directories only).
std::vector<ImageFile> scan_files(const MemberSet& set, const std::string& display,
                                  std::uint64_t* fetched = nullptr);

}  // namespace pdix
