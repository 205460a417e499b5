// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "pdixtract/member_set.h"
#include "pdixtract/volume.h"

struct archive;

namespace pdixtract {

// Reads the image of a set with libarchive, for the files it must decompress (zisofs),
// through our own read/skip/seek callbacks, so skipping data seeks, also across members.
class ImageReader {
public:
    // Largest single read; big reads make data throughput close to a plain copy.
    static constexpr std::size_t kMaxBlock = 1 << 20;
    // First read after a jump; directory reads stay small.
    static constexpr std::size_t kMinBlock = 16 << 10;

    // Opens the image; throws Failure (BadImage) if libarchive does not take it as ISO 9660.
    ImageReader(const MemberSet& set, std::string display);
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;

    // Moves on to the regular file at path (as the image's names spell it, no leading "/");
    // false if it does not come before the end. Throws Failure (BadImage) on a corrupt image.
    bool find(const std::string& path);

    // Streams the current file's data to sink. Throws Failure (BadImage) on a read failure;
    // exceptions from sink pass through.
    void readData(const DataSink& sink);

private:
    static std::ptrdiff_t onRead(struct archive* a, void* self, const void** buf);
    static std::int64_t onSkip(struct archive* a, void* self, std::int64_t request);
    static std::int64_t onSeek(struct archive* a, void* self, std::int64_t offset, int whence);
    [[noreturn]] void fail(const std::string& what);

    const MemberSet& m_set;
    std::string m_display;
    std::unique_ptr<struct archive, int (*)(struct archive*)> m_archive;
    std::vector<char> m_buf;
    std::uint64_t m_pos = 0;
    std::size_t m_block = kMinBlock;
    std::exception_ptr m_callbackError;  // what a callback threw, rethrown after
};

}  // namespace pdixtract
