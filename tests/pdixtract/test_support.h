// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace pdixtract {

namespace fs = std::filesystem;

// Files of a folder tree: relative path -> content.
using Tree = std::map<std::string, std::string>;

// A path from UTF-8 text, on every platform (Windows would take a std::string as ANSI).
inline fs::path Utf8Path(const std::string& text) {
    return std::u8string(text.begin(), text.end());
}

// Reproducible bytes for generated files.
std::string RandomBytes(std::size_t size, unsigned seed);

// Whole content of a file; empty if it cannot be read.
std::string ReadWholeFile(const fs::path& path);

// Writes content to path, creating parent folders.
void WriteWholeFile(const fs::path& path, const std::string& content);

// Image makers: the command that turns folder SRC into image OUT.
inline const std::string kRockRidgeJoliet = "xorriso -as mkisofs -quiet -R -J -o OUT SRC";
inline const std::string kPlainNames = "xorriso -as mkisofs -quiet --norock -o OUT SRC";
inline const std::string kJolietOnly =
    "xorriso -as mkisofs -quiet -input-charset utf-8 --norock -J -o OUT SRC";
inline const std::string kHardLinks = "xorriso -as mkisofs -quiet -R --hardlinks -o OUT SRC";
inline const std::string kZisofs =
    "xorriso -outdev OUT -blank as_needed -map SRC / -set_filter_r --zisofs / -- -commit";
inline const std::string kUdfBridge = "genisoimage -quiet -input-charset utf-8 -udf -o OUT SRC";

// Builds an image of tree with maker; links adds hard links (path -> path in tree).
std::string MakeImage(const Tree& tree, const std::string& maker = kRockRidgeJoliet,
                      const std::map<std::string, std::string>& links = {});

// Byte offset of the directory record with identifier id ("A.TXT;1") in image.
std::size_t RecordOf(const std::string& image, const std::string& id);

// Reads or sets a both-byte-order field of that record (2: first block, 10: size).
std::uint32_t Field(const std::string& image, const std::string& id, int at);
void SetField(std::string& image, const std::string& id, int at, std::uint32_t value);

// Splits image into dir/disc.pdi, disc.1.pdi, ... of memberSize bytes.
void WriteMembers(const std::string& image, const fs::path& dir, std::size_t memberSize);

// Whether there is a temporary file (".part") anywhere under dir.
bool HasTemporary(const fs::path& dir);

// What a finished pdixtract run left.
struct RunResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out, err;
};

// Limits on the size of files written (a full disk) and on open files, environment entries
// ("NAME=VALUE"), standard input, and a program run instead of pdixtract (searched on PATH),
// for a run on POSIX systems.
struct Limits {
    std::uint64_t fileSize = 0;
    unsigned openFiles = 0;
    std::vector<std::string> env{};
    std::string input{}, program{};
};

// Runs the pdixtract under test in cwd to its end; one still running after 30 s is ended.
// With stopped, it is stopped once its first temporary file appears, stopped() is called,
// and it goes on after receiving signal, if any. On Windows only a signal counts: the run
// gets a console of its own and a Ctrl+C there.
RunResult RunPdixtract(const std::vector<std::string>& args, const fs::path& cwd,
                       const Limits& limits = {}, const std::function<void()>& stopped = {},
                       int signal = 0);

// A fresh empty folder for one test, removed by the destructor.
struct TempDir {
    TempDir();
    ~TempDir();
    const fs::path path;
};

}  // namespace pdixtract
