// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/image_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <algorithm>
#include <new>

#include "pdixtract/errors.h"

namespace pdixtract {

ImageReader::ImageReader(const MemberSet& set, std::string display)
    : m_set(set),
      m_display(std::move(display)),
      m_archive(archive_read_new(), archive_read_free),
      m_buf(kMaxBlock) {
    if (!m_archive) throw std::bad_alloc();
    struct archive* a = m_archive.get();
    archive_read_support_format_iso9660(a);
    archive_read_set_callback_data(a, this);
    archive_read_set_read_callback(a, &ImageReader::onRead);
    archive_read_set_skip_callback(a, &ImageReader::onSkip);
    archive_read_set_seek_callback(a, &ImageReader::onSeek);
    if (archive_read_open1(a) != ARCHIVE_OK) fail("cannot open image");
}

void ImageReader::fail(const std::string& what) {
    if (m_callbackError) std::rethrow_exception(m_callbackError);
    const char* why = archive_error_string(m_archive.get());
    throw Failure(ExitCode::BadImage,
                  what + " (" + (why ? why : "unknown libarchive error") + "): " + m_display);
}

std::ptrdiff_t ImageReader::onRead(struct archive* a, void* self, const void** buf) {
    auto* r = static_cast<ImageReader*>(self);
    try {
        std::size_t n = r->m_set.readAt(r->m_pos, r->m_buf.data(), r->m_block);
        r->m_pos += n;
        // Ramp up while reading on sequentially, so data moves in big reads and
        // directory lookups after a jump stay small.
        r->m_block = std::min(r->m_block * 2, kMaxBlock);
        *buf = r->m_buf.data();
        return static_cast<std::ptrdiff_t>(n);
    } catch (...) {
        r->m_callbackError = std::current_exception();
        archive_set_error(a, EIO, "read failed");
        return -1;
    }
}

std::int64_t ImageReader::onSkip(struct archive*, void* self, std::int64_t request) {
    auto* r = static_cast<ImageReader*>(self);
    std::uint64_t left = r->m_set.size() - std::min(r->m_pos, r->m_set.size());
    std::uint64_t step = std::min<std::uint64_t>(static_cast<std::uint64_t>(request), left);
    r->m_pos += step;
    if (step > 0) r->m_block = kMinBlock;
    return static_cast<std::int64_t>(step);
}

std::int64_t ImageReader::onSeek(struct archive* a, void* self, std::int64_t offset, int whence) {
    auto* r = static_cast<ImageReader*>(self);
    std::int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<std::int64_t>(r->m_pos);
    if (whence == SEEK_END) base = static_cast<std::int64_t>(r->m_set.size());
    std::int64_t target = base + offset;
    if (target < 0) {
        archive_set_error(a, EINVAL, "seek before the start of the image");
        return ARCHIVE_FATAL;
    }
    if (static_cast<std::uint64_t>(target) != r->m_pos) r->m_block = kMinBlock;
    r->m_pos = static_cast<std::uint64_t>(target);
    return target;
}

bool ImageReader::find(const std::string& path) {
    for (;;) {
        struct archive_entry* entry = nullptr;
        int rc = archive_read_next_header(m_archive.get(), &entry);
        if (rc == ARCHIVE_EOF) return false;
        if (rc < ARCHIVE_WARN) fail("cannot read the image's directory");
        const char* name = archive_entry_pathname(entry);
        if (archive_entry_filetype(entry) == AE_IFREG && name && path == name) return true;
    }
}

void ImageReader::readData(const DataSink& sink) {
    for (;;) {
        const void* buf = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        int rc = archive_read_data_block(m_archive.get(), &buf, &size, &offset);
        if (rc == ARCHIVE_EOF) return;
        if (rc < ARCHIVE_WARN) fail("cannot read file data from the image");
        sink(buf, size, static_cast<std::uint64_t>(offset));
    }
}

}  // namespace pdixtract
