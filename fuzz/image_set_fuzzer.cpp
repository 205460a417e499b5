// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commands.h"
#include "errors.h"
#include "fuzz_checks.h"
#include "member_set.h"
#include "volume.h"

namespace {

namespace fs = std::filesystem;

// Bytes before the first volume descriptor: unused by ISO 9660 readers, so
// inputs leave them out and stay small.
constexpr std::size_t kSystemArea = 16 * 2048;
// Files whose data is read per input: enough to reach every kind of record.
constexpr std::size_t kMaxFilesRead = 64;

// One folder per process for the member files, removed at exit.
const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("zelvorn-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(WorkDir(), ec);
        });
        return d;
    }();
    return dir;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Splits the image into one to three members at points the control byte picks.
std::vector<std::string> Members(std::uint8_t control, const std::string& image) {
    const std::size_t count = 1 + control % 3;
    const std::size_t unit = image.size() / 8 + 1;
    std::vector<std::string> members;
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < count && at < image.size(); ++i) {
        // Cuts fall anywhere, sector boundaries or not; an empty member is possible.
        const std::size_t length =
            std::min(image.size() - at, unit * ((control >> (2 + 3 * i)) & 7));
        members.push_back(image.substr(at, length));
        at += length;
    }
    members.push_back(image.substr(at));
    return members;
}

}  // namespace

const char* CheckImageSet(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return nullptr;
    std::string image(kSystemArea, '\0');
    image.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> members = Members(data[0], image);

    const fs::path dir = WorkDir();
    for (int i = 0; i < 4; ++i) {
        std::error_code ec;
        fs::remove(dir / (i == 0 ? "set.pdi" : "set." + std::to_string(i) + ".pdi"), ec);
    }
    for (std::size_t i = 0; i < members.size(); ++i) {
        WriteFile(dir / (i == 0 ? "set.pdi" : "set." + std::to_string(i) + ".pdi"), members[i]);
    }

    try {
        const std::string named = (dir / "set.pdi").string();
        pdix::MemberSet set = pdix::MemberSet::open(named);
        std::unique_ptr<pdix::Volume> volume = pdix::open_volume(set, named);
        // As an extraction reads them: the data of the first files, plain or not.
        std::size_t count = 0;
        for (const pdix::ImageFile& file : volume->files()) {
            if (++count > kMaxFilesRead || !file.problem.empty()) continue;
            std::uint64_t bytes = 0;
            if (file.plain) {
                char buf[4096];
                for (const pdix::Extent& e : file.extents) {
                    for (std::uint64_t at = 0; at < e.length; at += sizeof buf) {
                        bytes += set.read_at(e.offset + at, buf,
                                             std::min<std::uint64_t>(sizeof buf, e.length - at));
                    }
                }
            } else {
                try {
                    volume->read(file,
                                 [&](const void*, std::size_t n, std::uint64_t) { bytes += n; });
                } catch (const pdix::Error&) {
                }
            }
            if (file.plain && bytes != file.size) return "a plain file whose data was not all read";
        }
        std::vector<std::string> flagged, dropped;
        const std::string list = pdix::format_list(volume->files(), flagged, dropped);
        if (list.size() < volume->files().size() - dropped.size())
            return "a list shorter than its entries";
    } catch (const pdix::Error&) {
        // A clear refusal (not an image, truncated, unreadable) is the right outcome.
    }
    return nullptr;
}

#ifdef ZELVORN_FUZZER
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const char* problem = CheckImageSet(data, size)) {
        std::fprintf(stderr, "image set: %s\n", problem);
        std::abort();
    }
    return 0;
}
#endif
