#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pdix_test {

namespace fs = std::filesystem;

// Reproducible bytes for generated files.
std::string random_bytes(std::size_t size, unsigned seed);

// Whole content of a file; empty if it cannot be read.
std::string read_file(const fs::path& path);

// Writes content to path, creating parent folders.
void write_file(const fs::path& path, const std::string& content);

// Files of a folder tree: relative path -> content.
using Tree = std::map<std::string, std::string>;

// A tree shaped like a DVD-Video disc, plus one file whose name has a blank.
Tree dvd_tree(std::size_t vob_size);

// Builds an ISO 9660 image with Rock Ridge and Joliet from tree with xorriso; returns its bytes.
// links maps further relative paths to a file of tree they are hard links of.
std::string make_image(const Tree& tree, const fs::path& work,
                       const std::map<std::string, std::string>& links = {});

// Regular files of image in image (data) order as (name, size), from xorriso's own report;
// empty files, which have no data, come last.
std::vector<std::pair<std::string, std::uint64_t>> image_order(const fs::path& image);

// Splits image into dir/stem.pdi, stem.1.pdi, ... of member_size bytes each; returns the paths.
std::vector<fs::path> write_members(const std::string& image, const fs::path& dir,
                                    const std::string& stem, std::size_t member_size);

// What a finished pdixtract run left.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the pdixtract under test with args in cwd; file_limit > 0 caps the size of any file it
// writes (RLIMIT_FSIZE) to simulate a full disk.
RunResult run_pdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                        std::uint64_t file_limit = 0);

// Names of the entries directly in dir, sorted.
std::vector<std::string> list_dir(const fs::path& dir);

// A fresh empty folder for one test, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

}  // namespace pdix_test
