// SPDX-License-Identifier: GPL-3.0-or-later
// Images with only a UDF file system (some authoring tools, every Blu-ray), read with
// libudfread through the set's members.
#include <udfread/blockinput.h>
#include <udfread/udfread.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "base/disc_image.h"
#include "pdixtract/volume.h"

namespace pdixtract {

namespace {

constexpr int kMaxDepth = 64;  // deeper nesting only comes from a damaged image
// How far after the first volume descriptor UDF's recognition sequence is looked for.
constexpr std::uint64_t kRecognitionSectors = 16;

// The set as libudfread's block device; a Failure from reading waits here for our side.
struct SetInput {
    udfread_block_input base{};
    const MemberSet* set = nullptr;
    std::exception_ptr error;
};

int ReadBlocks(udfread_block_input* input, std::uint32_t lba, void* buf, std::uint32_t count, int) {
    auto* in = reinterpret_cast<SetInput*>(input);
    try {
        std::size_t got = in->set->readAt(std::uint64_t{lba} * UDF_BLOCK_SIZE, buf,
                                          std::size_t{count} * UDF_BLOCK_SIZE);
        return static_cast<int>(got / UDF_BLOCK_SIZE);
    } catch (...) {
        in->error = std::current_exception();
        return -1;
    }
}

std::uint32_t SizeInBlocks(udfread_block_input* input) {
    auto* in = reinterpret_cast<SetInput*>(input);
    return static_cast<std::uint32_t>(in->set->size() / UDF_BLOCK_SIZE);
}

// libudfread's handles, closed when they go, whatever is thrown meanwhile.
using UdfReader = std::unique_ptr<udfread, decltype(&udfread_close)>;
using UdfDir = std::unique_ptr<UDFDIR, decltype(&udfread_closedir)>;
using UdfFile = std::unique_ptr<UDFFILE, decltype(&udfread_file_close)>;

class Udf : public Volume {
public:
    Udf(const MemberSet& set, std::string display) : m_display(std::move(display)) {
        m_input.base.read = ReadBlocks;
        m_input.base.size = SizeInBlocks;
        m_input.set = &set;
    }

    bool load() {
        // Only a volume recognition sequence naming UDF is handed on: the library reports
        // every image it cannot take on stderr.
        bool announced = false;
        char d[8];
        for (std::uint64_t sector = 0; sector < kRecognitionSectors && !announced; ++sector) {
            const std::uint64_t at = base::kDescriptorsOffset + sector * base::kSectorSize;
            if (m_input.set->readAt(at, d, sizeof d) < sizeof d) continue;
            const std::string_view identifier(d + base::kIdentifierOffset, 5);
            for (std::string_view udf : base::kUdfIdentifiers) announced |= identifier == udf;
        }
        if (!announced) return false;
        m_udf.reset(udfread_init());
        if (!m_udf || udfread_open_input(m_udf.get(), &m_input.base) < 0) return false;
        const UdfDir root(udfread_opendir(m_udf.get(), "/"), udfread_closedir);
        if (!root) return false;
        walk(root.get(), "", 0);
        return true;
    }

    void read(const ImageFile& file, const DataSink& sink) override {
        const UdfFile f(udfread_file_open(m_udf.get(), ("/" + file.path).c_str()),
                        udfread_file_close);
        if (!f)
            throw Failure(ExitCode::BadImage, "cannot open the file in the image: " + file.path);
        std::vector<char> buf(1 << 20);
        std::uint64_t offset = 0;
        for (;;) {
            const ssize_t n = udfread_file_read(f.get(), buf.data(), buf.size());
            if (n <= 0) break;
            sink(buf.data(), static_cast<std::size_t>(n), offset);
            offset += static_cast<std::uint64_t>(n);
        }
        if (m_input.error) std::rethrow_exception(std::exchange(m_input.error, nullptr));
    }

private:
    void walk(UDFDIR* dir, const std::string& path, int depth) {
        udfread_dirent entry;
        while (udfread_readdir(dir, &entry)) {
            std::string name = entry.d_name ? entry.d_name : "";
            std::string full = path.empty() ? name : path + "/" + name;
            if (entry.d_type == UDF_DT_DIR) {
                if (name == "." || name == "..") continue;
                const UdfDir sub(
                    depth < kMaxDepth ? udfread_opendir_at(dir, name.c_str()) : nullptr,
                    udfread_closedir);
                if (!sub) {
                    m_problems.push_back({ExitCode::BadImage,
                                          "folder cannot be read, its files are missing: " + full});
                    continue;
                }
                walk(sub.get(), full, depth + 1);
            } else if (entry.d_type == UDF_DT_REG) {
                const UdfFile f(udfread_file_openat(dir, name.c_str()), udfread_file_close);
                ImageFile file{full, name, 0, {}, false, ""};
                if (f) {
                    file.size = static_cast<std::uint64_t>(
                        std::max<std::int64_t>(0, udfread_file_size(f.get())));
                } else {
                    file.problem = "file cannot be found in the image, skipped";
                }
                add(std::move(file));
            }
        }
    }

    std::string m_display;
    SetInput m_input;
    UdfReader m_udf{nullptr, udfread_close};
};

}  // namespace

std::unique_ptr<Volume> OpenUdf(const MemberSet& set, const std::string& display) {
    auto volume = std::make_unique<Udf>(set, display);
    if (!volume->load()) return nullptr;
    return volume;
}

}  // namespace pdixtract
