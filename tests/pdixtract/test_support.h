// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pdix_test {

namespace fs = std::filesystem;

// Files of a folder tree: relative path -> content.
using Tree = std::map<std::string, std::string>;

// A path from UTF-8 text, on every platform (Windows would take a std::string as ANSI).
inline fs::path utf8(const std::string& text) {
    return std::u8string(text.begin(), text.end());
}

// Reproducible bytes for generated files.
std::string random_bytes(std::size_t size, unsigned seed);

// Whole content of a file; empty if it cannot be read.
std::string read_file(const fs::path& path);

// Writes content to path, creating parent folders.
void write_file(const fs::path& path, const std::string& content);

// Image makers: the command that turns folder SRC into image OUT.
inline const std::string rock_ridge_joliet = "xorriso -as mkisofs -quiet -R -J -o OUT SRC";
inline const std::string plain_names = "xorriso -as mkisofs -quiet --norock -o OUT SRC";
inline const std::string joliet_only =
    "xorriso -as mkisofs -quiet -input-charset utf-8 --norock -J -o OUT SRC";
inline const std::string hard_links = "xorriso -as mkisofs -quiet -R --hardlinks -o OUT SRC";
inline const std::string zisofs =
    "xorriso -outdev OUT -blank as_needed -map SRC / -set_filter_r --zisofs / -- -commit";
inline const std::string udf_bridge = "genisoimage -quiet -input-charset utf-8 -udf -o OUT SRC";

// Builds an image of tree with maker; links adds hard links (path -> path in tree).
std::string make_image(const Tree& tree, const std::string& maker = rock_ridge_joliet,
                       const std::map<std::string, std::string>& links = {});

// Makes a UDF-only image of a UDF bridge image: its ISO 9660 descriptors go.
std::string udf_only(std::string bridge_image);

// Byte offset of the directory record with identifier id ("A.TXT;1") in image.
std::size_t record_of(const std::string& image, const std::string& id);

// Reads or sets a both-byte-order field of that record (2: first block, 10: size).
std::uint32_t field(const std::string& image, const std::string& id, int at);
void set_field(std::string& image, const std::string& id, int at, std::uint32_t value);

// Splits image into dir/stem.pdi, stem.1.pdi, ... of member_size bytes.
void write_members(const std::string& image, const fs::path& dir, const std::string& stem,
                   std::size_t member_size);

// What a finished pdixtract run left.
struct RunResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out, err;
};

// How a run is started: limits on the size of files written (a full disk) and on open files,
// and environment entries ("NAME=VALUE").
struct Limits {
    std::uint64_t file_size = 0;
    unsigned open_files = 0;
    std::vector<std::string> env{};
};

#ifdef _WIN32
// Runs the pdixtract.exe beside the test program in cwd to its end, with stdout and stderr to
// out and err; returns its exit status. A run still going after 30 s is ended (status -1).
// With interrupt it runs in a console of its own, where Ctrl+C is pressed as soon as its first
// temporary file appears.
int run_pdixtract(const std::vector<std::string>& args, const fs::path& cwd, const fs::path& out,
                  const fs::path& err, bool interrupt = false);
#else
// Starts the pdixtract under test in cwd with stdout and stderr to out and err; it is killed
// if still running after 30 s, so a hang fails instead of stalling the suite.
pid_t start_pdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                      const fs::path& out, const fs::path& err, const Limits& limits = {});

// Runs pdixtract under script(1) on a terminal of columns x 24 that has an Enter typed
// ahead (stdin is /dev/null instead unless stdin_terminal); out is all the terminal showed.
RunResult run_on_terminal(const std::vector<std::string>& args, const fs::path& cwd, int columns,
                          const Limits& limits, bool stdin_terminal = true);
#endif

// Temporary files (".part") anywhere under dir.
std::vector<std::string> leftovers(const fs::path& dir);

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
