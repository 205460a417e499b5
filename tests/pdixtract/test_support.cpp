// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace pdixtract {

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(gen());
    return s;
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteWholeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string MakeImage(const Tree& tree, const std::string& maker,
                      const std::map<std::string, std::string>& links) {
    // Kept for the run under Wine, named by everything that shapes it (FNV-1a), in the folder
    // PDIXTRACT_TEST_IMAGES names, if any.
    std::string shape = maker;
    for (const auto& [rel, content] : tree) shape += '\0' + rel + '\0' + content;
    for (const auto& [rel, target] : links) shape += '\1' + rel + '\0' + target;
    std::uint64_t hash = 14695981039346656037u;
    for (char c : shape) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    const char* dir = std::getenv("PDIXTRACT_TEST_IMAGES");
    const fs::path kept = dir && *dir ? fs::path(dir) / (std::to_string(hash) + ".iso") : "";
#ifdef _WIN32
    // Windows has no xorriso: the images are those the Linux run made.
    if (!fs::exists(kept))
        throw std::runtime_error("no image kept by the Linux run at " + kept.string());
    return ReadWholeFile(kept);
#endif
    TempDir work;
    fs::path src = work.path / "src", iso = work.path / "image.iso";
    for (const auto& [rel, content] : tree) WriteWholeFile(src / rel, content);
    for (const auto& [rel, target] : links) fs::create_hard_link(src / target, src / rel);
    std::string command = maker;
    command.replace(command.find("OUT"), 3, "'" + iso.string() + "'");
    command.replace(command.find("SRC"), 3, "'" + src.string() + "'");
    if (std::system((command + " >/dev/null 2>&1").c_str())) throw std::runtime_error(command);
    if (!kept.empty()) {  // copied beside it, then renamed: a parallel run never reads half
        fs::create_directories(kept.parent_path());
        fs::copy_file(iso, kept.string() + work.path.filename().string());
        fs::rename(kept.string() + work.path.filename().string(), kept);
    }
    return ReadWholeFile(iso);
}

std::size_t RecordOf(const std::string& image, const std::string& id) {
    std::size_t at = image.find(static_cast<char>(id.size()) + id);
    if (at == std::string::npos) throw std::runtime_error("no record " + id);
    return at - 32;
}

std::uint32_t Field(const std::string& image, const std::string& id, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(image.data() + RecordOf(image, id) + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void SetField(std::string& image, const std::string& id, int at, std::uint32_t value) {
    std::size_t r = RecordOf(image, id) + static_cast<std::size_t>(at);
    for (int i = 0; i < 4; ++i) {
        image[r + i] = static_cast<char>(value >> (8 * i));
        image[r + 7 - i] = static_cast<char>(value >> (8 * i));
    }
}

void WriteMembers(const std::string& image, const fs::path& dir, std::size_t memberSize) {
    for (std::size_t at = 0, i = 0; at < image.size(); at += memberSize, ++i) {
        const std::string index = i ? "." + std::to_string(i) : "";
        WriteWholeFile(dir / ("disc" + index + ".pdi"), image.substr(at, memberSize));
    }
}

bool HasTemporary(const fs::path& dir) {
    // Read while pdixtract may be adding and removing files: an entry may vanish meanwhile.
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".part") return true;
    return false;
}

TempDir::TempDir()
    : path(fs::temp_directory_path() /
           ("pdixtract-test-" + std::to_string(std::random_device()()))) {
    if (!fs::create_directory(path)) throw std::runtime_error("cannot make " + path.string());
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

}  // namespace pdixtract
