// SPDX-License-Identifier: GPL-3.0-or-later
// The directory tree of an ISO 9660 image, read from its records: names from Rock Ridge,
// Joliet or the plain identifiers, and where each file's bytes lie, so file data can be
// copied straight from the members. Everything read is bounded by the image's size.
#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "base/disc_image.h"
#include "base/utf8.h"
#include "pdixtract/image_reader.h"
#include "pdixtract/volume.h"

namespace pdixtract {

namespace {

constexpr std::size_t kChunk = 64 << 10;  // directory bytes read at once
constexpr int kMaxContinuations = 16;     // Rock Ridge continuation areas per record

std::uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Joliet names are UCS-2 (UTF-16) big-endian; converted here, whatever the locale says.
std::string JolietName(const unsigned char* p, std::size_t length) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        text.push_back(static_cast<char16_t>((p[i] << 8) | p[i + 1]));
    }
    return base::Utf16ToUtf8(text);
}

// "NAME.EXT;1" -> "NAME.EXT", "README.;1" -> "README".
std::string WithoutVersion(std::string name, bool stripDot) {
    std::size_t semi = name.rfind(';');
    if (semi != std::string::npos) name.erase(semi);
    if (stripDot && !name.empty() && name.back() == '.') name.pop_back();
    return name;
}

// What the Rock Ridge entries of one record say.
struct RockRidge {
    bool hasName = false;
    std::string name;
    bool hasMode = false;
    std::uint32_t mode = 0;
    bool symlink = false;
    bool relocatedChild = false;  // CL: a stand-in for a folder stored elsewhere
    bool zisofs = false;
    std::uint64_t zisofsSize = 0;
};

class Iso9660 : public Volume {
public:
    Iso9660(const MemberSet& set, std::string display)
        : m_set(set), m_display(std::move(display)) {}

    bool load();
    void read(const ImageFile& file, const DataSink& sink) override;

private:
    struct Folder {
        std::uint64_t offset;
        std::uint64_t size;
        std::string path;
    };
    void readFolder(const Folder& folder);
    void record(const unsigned char* r, std::size_t len, const std::string& dir);
    void parseSusp(const unsigned char* p, std::size_t n, RockRidge& rr, int hops);
    void finishPending();
    bool inside(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_set.size() && length <= m_set.size() - offset;
    }

    const MemberSet& m_set;
    std::string m_display;
    std::uint64_t m_block = base::kSectorSize;
    bool m_joliet = false;
    bool m_rockRidge = false;
    std::size_t m_skip = 0;
    std::vector<Folder> m_todo;
    std::set<std::uint64_t> m_seenSectors;  // folder sectors read, so loops end
    ImageFile m_pending;                    // a multi-extent file still collecting extents
    std::string m_pendingId;
    bool m_hasPending = false;
    std::unique_ptr<ImageReader> m_archive;
};

bool Iso9660::load() {
    unsigned char d[base::kSectorSize];
    const unsigned char* root = nullptr;
    unsigned char pvdRoot[34], jolietRoot[34];
    bool haveJoliet = false;
    const std::string_view identifier = base::kIso9660Identifier;
    // The descriptors end at a terminator; a run of more than 64 is not an image's.
    for (std::uint64_t at = base::kDescriptorsOffset; at < base::kDescriptorsOffset + 64 * sizeof d;
         at += sizeof d) {
        if (m_set.readAt(at, d, sizeof d) < sizeof d ||
            std::memcmp(d + base::kIdentifierOffset, identifier.data(), identifier.size()) != 0) {
            break;
        }
        if (d[0] == 1 && !root) {
            std::memcpy(pvdRoot, d + 156, 34);
            root = pvdRoot;
            m_block = d[128] | (d[129] << 8);
        } else if (d[0] == 2 && d[88] == '%' && d[89] == '/' && d[90] &&
                   std::strchr("@CE", d[90])) {
            std::memcpy(jolietRoot, d + 156, 34);
            haveJoliet = true;
        } else if (d[0] == 255) {
            break;
        }
    }
    if (!root) return false;
    if (m_block != 512 && m_block != 1024 && m_block != 2048) {
        throw Failure(ExitCode::BadImage, "not a disc image (block size " +
                                              std::to_string(m_block) + "): " + m_display);
    }
    // Rock Ridge announces itself in the first record of the root folder.
    unsigned char first[256];
    std::uint64_t rootAt = std::uint64_t{Le32(root + 2)} * m_block;
    if (m_set.readAt(rootAt, first, sizeof first) == sizeof first && first[0] >= 34) {
        std::size_t su = 33 + first[32] + (first[32] % 2 == 0);
        if (su + 7 <= first[0] && std::memcmp(first + su, "SP", 2) == 0 && first[su + 4] == 0xBE &&
            first[su + 5] == 0xEF) {
            m_rockRidge = true;
            m_skip = first[su + 6];
        }
    }
    m_joliet = haveJoliet && !m_rockRidge;
    if (m_joliet) root = jolietRoot;
    m_todo.push_back({std::uint64_t{Le32(root + 2) + root[1]} * m_block, Le32(root + 10), ""});
    while (!m_todo.empty()) {
        Folder f = m_todo.back();
        m_todo.pop_back();
        readFolder(f);
    }
    finishPending();
    auto byData = [](const ImageFile& a, const ImageFile& b) {
        std::uint64_t ka = a.extents.empty() ? UINT64_MAX : a.extents.front().offset;
        std::uint64_t kb = b.extents.empty() ? UINT64_MAX : b.extents.front().offset;
        return ka < kb;
    };
    // Images are mostly written in directory order already.
    if (!std::is_sorted(m_files.begin(), m_files.end(), byData)) {
        std::stable_sort(m_files.begin(), m_files.end(), byData);
    }
    return true;
}

void Iso9660::readFolder(const Folder& folder) {
    const std::string shown = folder.path.empty() ? "/" : folder.path;
    if (!inside(folder.offset, folder.size)) {
        m_problems.push_back(
            {ExitCode::BadImage,
             "folder lies past the end of the image, its files are missing: " + shown});
        return;
    }
    std::vector<unsigned char> buf(kChunk);
    for (std::uint64_t done = 0; done < folder.size;) {
        std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, folder.size - done));
        std::size_t got = m_set.readAt(folder.offset + done, buf.data(), want);
        for (std::size_t s = 0; s < got; s += m_block) {
            if (!m_seenSectors.insert((folder.offset + done + s) / m_block).second) {
                m_problems.push_back(
                    {ExitCode::BadImage, "folder is stored inside another, left out: " + shown});
                return;
            }
            std::size_t end = std::min<std::size_t>(got, s + m_block);
            for (std::size_t at = s; at < end && buf[at] != 0;) {
                std::size_t len = buf[at];
                if (len < 34 || at + len > end) break;  // a broken record ends the sector
                record(buf.data() + at, len, folder.path);
                at += len;
            }
        }
        done += got;
    }
}

void Iso9660::parseSusp(const unsigned char* p, std::size_t n, RockRidge& rr, int hops) {
    while (n >= 4) {
        std::size_t len = p[2];
        if (len < 4 || len > n) return;
        auto is = [&](const char* sig) { return p[0] == sig[0] && p[1] == sig[1]; };
        if (is("ST")) return;
        if (is("NM") && len >= 5) {
            if (!rr.hasName) rr.name.clear();
            rr.hasName = true;
            if (p[4] & 0x02)
                rr.name = ".";
            else if (p[4] & 0x04)
                rr.name = "..";
            else
                rr.name.append(reinterpret_cast<const char*>(p + 5), len - 5);
        } else if (is("PX") && len >= 8) {
            rr.hasMode = true;
            rr.mode = Le32(p + 4);
        } else if (is("SL")) {
            rr.symlink = true;
        } else if (is("CL")) {
            rr.relocatedChild = true;
        } else if (is("ZF") && len >= 16 && p[4] == 'p' && p[5] == 'z') {
            rr.zisofs = true;
            rr.zisofsSize = Le32(p + 8);
        } else if (is("CE") && len >= 28 && hops < kMaxContinuations) {
            std::uint64_t at = std::uint64_t{Le32(p + 4)} * m_block + Le32(p + 12);
            std::size_t size = std::min<std::size_t>(Le32(p + 20), m_block);
            std::vector<unsigned char> more(size);
            if (inside(at, size) && m_set.readAt(at, more.data(), size) == size) {
                parseSusp(more.data(), size, rr, hops + 1);
            }
        }
        p += len;
        n -= len;
    }
}

void Iso9660::record(const unsigned char* r, std::size_t len, const std::string& dir) {
    std::size_t idLen = r[32];
    if (33 + idLen > len) return;
    const unsigned char* id = r + 33;
    if (idLen == 1 && id[0] <= 1) return;  // the folder itself and its parent
    RockRidge rr;
    if (m_rockRidge) {
        std::size_t su = 33 + idLen + (idLen % 2 == 0) + m_skip;
        if (su < len) parseSusp(r + su, len - su, rr, 0);
    }
    std::string raw(reinterpret_cast<const char*>(id), idLen);
    std::string name = rr.hasName ? rr.name
                       : m_joliet ? WithoutVersion(JolietName(id, idLen), false)
                                  : WithoutVersion(raw, true);
    std::string path = dir.empty() ? name : dir + "/" + name;
    std::uint64_t offset = (std::uint64_t{Le32(r + 2)} + r[1]) * m_block;
    std::uint64_t length = Le32(r + 10);
    const unsigned flags = r[25];
    if (rr.relocatedChild) return;  // the folder itself is read where it is stored
    bool folder = rr.hasMode ? (rr.mode & 0170000) == 0040000 : (flags & 0x02) != 0;
    if (folder) {
        finishPending();
        m_todo.push_back({offset, length, path});
        return;
    }
    bool regular = rr.hasMode ? (rr.mode & 0170000) == 0100000 : !rr.symlink;
    if (!regular || (flags & 0x04)) return;  // links, devices, associated files

    // A file larger than one extent continues in the next records of the same identifier.
    if (m_hasPending && raw == m_pendingId) {
        m_pending.extents.push_back({offset, length});
        m_pending.size += length;
    } else {
        finishPending();
        m_pending = ImageFile{path, name, length, {}, true, ""};
        if (length > 0) m_pending.extents.push_back({offset, length});
        m_pendingId = raw;
        m_hasPending = true;
        if (rr.zisofs) {
            m_pending.plain = false;
            m_pending.size = rr.zisofsSize;
        }
    }
    if (!(flags & 0x80)) finishPending();
}

void Iso9660::finishPending() {
    if (!m_hasPending) return;
    m_hasPending = false;
    for (const Extent& e : m_pending.extents) {
        if (!inside(e.offset, e.length)) {
            m_pending.problem = "file data lies past the end of the image (needs " +
                                std::to_string(e.offset + e.length) + " bytes, the set holds " +
                                std::to_string(m_set.size()) + "), skipped";
        }
    }
    add(std::move(m_pending));
}

void Iso9660::read(const ImageFile& file, const DataSink& sink) {
    if (!m_archive || !m_archive->find(file.path)) {
        // The decompressor reads in its own order; start over once before giving up.
        m_archive = std::make_unique<ImageReader>(m_set, m_display);
        if (!m_archive->find(file.path)) {
            throw Failure(ExitCode::BadImage,
                          "compressed file not found by the decompressor: " + file.path);
        }
    }
    m_archive->readData(sink);
}

}  // namespace

std::unique_ptr<Volume> OpenIso9660(const MemberSet& set, const std::string& display) {
    auto volume = std::make_unique<Iso9660>(set, display);
    if (!volume->load()) return nullptr;
    return volume;
}

}  // namespace pdixtract
