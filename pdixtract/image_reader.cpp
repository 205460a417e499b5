#include "image_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "errors.h"

namespace pdix {

namespace {

constexpr std::uint64_t descriptor_offset = 16 * 2048;

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

void check_image(const MemberSet& set, const std::string& display) {
    unsigned char pvd[2048] = {};
    std::size_t n = set.read_at(descriptor_offset, pvd, sizeof pvd);
    if (n < sizeof pvd || pvd[0] != 1 || std::memcmp(pvd + 1, "CD001", 5) != 0) {
        throw Error(ExitCode::bad_image, "not a disc image (no ISO 9660 volume found): " + display);
    }
    std::uint64_t blocks = le32(pvd + 80);
    std::uint64_t block_size = pvd[128] | (pvd[129] << 8);
    std::uint64_t expected = blocks * block_size;
    if (set.size() < expected) {
        throw Error(ExitCode::bad_image, "image is truncated (set holds " +
                                             std::to_string(set.size()) + " of " +
                                             std::to_string(expected) + " bytes): " + display);
    }
}

ImageReader::ImageReader(const MemberSet& set, std::string display)
    : m_set(set), m_display(std::move(display)), m_buf(max_block) {
    m_archive = archive_read_new();
    archive_read_support_format_iso9660(m_archive);
    archive_read_set_callback_data(m_archive, this);
    archive_read_set_read_callback(m_archive, &ImageReader::on_read);
    archive_read_set_skip_callback(m_archive, &ImageReader::on_skip);
    archive_read_set_seek_callback(m_archive, &ImageReader::on_seek);
    if (archive_read_open1(m_archive) != ARCHIVE_OK) {
        // A constructor that throws gets no destructor: free the reader here.
        try {
            fail("cannot open image");
        } catch (...) {
            archive_read_free(m_archive);
            throw;
        }
    }
}

ImageReader::~ImageReader() {
    archive_read_free(m_archive);
}

void ImageReader::fail(const std::string& what) {
    if (m_callback_error) std::rethrow_exception(m_callback_error);
    const char* why = archive_error_string(m_archive);
    throw Error(ExitCode::bad_image,
                what + " (" + (why ? why : "unknown libarchive error") + "): " + m_display);
}

long ImageReader::on_read(struct archive* a, void* self, const void** buf) {
    auto* r = static_cast<ImageReader*>(self);
    try {
        std::size_t n = r->m_set.read_at(r->m_pos, r->m_buf.data(), r->m_block);
        r->m_pos += n;
        r->m_fetched += n;
        // Ramp up while reading on sequentially, so data moves in big reads and
        // directory lookups after a jump stay small.
        r->m_block = std::min(r->m_block * 2, max_block);
        *buf = r->m_buf.data();
        return static_cast<long>(n);
    } catch (...) {
        r->m_callback_error = std::current_exception();
        archive_set_error(a, EIO, "read failed");
        return -1;
    }
}

std::int64_t ImageReader::on_skip(struct archive*, void* self, std::int64_t request) {
    auto* r = static_cast<ImageReader*>(self);
    std::uint64_t left = r->m_set.size() - std::min(r->m_pos, r->m_set.size());
    std::uint64_t step = std::min<std::uint64_t>(static_cast<std::uint64_t>(request), left);
    r->m_pos += step;
    if (step > 0) r->m_block = min_block;
    return static_cast<std::int64_t>(step);
}

std::int64_t ImageReader::on_seek(struct archive* a, void* self, std::int64_t offset, int whence) {
    auto* r = static_cast<ImageReader*>(self);
    std::int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<std::int64_t>(r->m_pos);
    if (whence == SEEK_END) base = static_cast<std::int64_t>(r->m_set.size());
    std::int64_t target = base + offset;
    if (target < 0) {
        archive_set_error(a, EINVAL, "seek before the start of the image");
        return ARCHIVE_FATAL;
    }
    if (static_cast<std::uint64_t>(target) != r->m_pos) r->m_block = min_block;
    r->m_pos = static_cast<std::uint64_t>(target);
    return target;
}

bool ImageReader::next(ImageFile& out) {
    for (;;) {
        struct archive_entry* entry = nullptr;
        int rc = archive_read_next_header(m_archive, &entry);
        if (rc == ARCHIVE_EOF) return false;
        if (rc < ARCHIVE_WARN) fail("cannot read the image's directory");
        if (archive_entry_filetype(entry) != AE_IFREG) continue;
        const char* path = archive_entry_pathname_utf8(entry);
        if (!path) path = archive_entry_pathname(entry);
        out.path = path ? path : "";
        while (!out.path.empty() && out.path.back() == '/') out.path.pop_back();
        std::size_t slash = out.path.rfind('/');
        out.name = slash == std::string::npos ? out.path : out.path.substr(slash + 1);
        out.data_of.reset();
        out.size = static_cast<std::uint64_t>(archive_entry_size(entry));
        // libarchive reports a second record of the same data as a hard link without a
        // size, naming the record that carries the data.
        const char* link = archive_entry_hardlink_utf8(entry);
        if (!link) link = archive_entry_hardlink(entry);
        auto target = link ? m_seen.find(link) : m_seen.end();
        if (target != m_seen.end()) {
            out.data_of = target->second.first;
            out.size = target->second.second;
        } else {
            m_seen.emplace(out.path, std::make_pair(m_index, out.size));
        }
        ++m_index;
        return true;
    }
}

void ImageReader::read_data(
    const std::function<void(const void*, std::size_t, std::uint64_t)>& sink) {
    for (;;) {
        const void* buf = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        int rc = archive_read_data_block(m_archive, &buf, &size, &offset);
        if (rc == ARCHIVE_EOF) return;
        if (rc < ARCHIVE_WARN) fail("cannot read file data from the image");
        sink(buf, size, static_cast<std::uint64_t>(offset));
    }
}

std::vector<ImageFile> scan_files(const MemberSet& set, const std::string& display,
                                  std::uint64_t* fetched) {
    ImageReader reader(set, display);
    std::vector<ImageFile> files;
    ImageFile f;
    while (reader.next(f)) files.push_back(f);
    if (fetched) *fetched = reader.bytes_fetched();
    return files;
}

}  // namespace pdix
