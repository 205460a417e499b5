// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_file/list_file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "base/utf8.h"

namespace zelvorn {
namespace {

namespace fs = std::filesystem;
using enum ListFileRead::Outcome;

struct ListFileAccessTest : testing::Test {
    ListFileAccessTest() { fs::create_directories(dir); }
    ~ListFileAccessTest() override { fs::remove_all(dir); }
    // A name in the test's folder, or an absolute path as it stands.
    std::u16string path(const std::string& name) {
        return base::Utf8ToUtf16((dir / name).string());
    }

    fs::path dir = fs::temp_directory_path() / ("list-" + std::to_string(::getpid()));
};

TEST_F(ListFileAccessTest, AnEarlierListUntouchedIsNoNewList) {
    std::ofstream(dir / "list") << "A 1\r\n";
    // The same file untouched since the stamp is an earlier set's list;
    // pdixtract's atomic rewrite gives a new file, even with the same bytes.
    const ListFileStamp before = StampListFile(path("list"));
    EXPECT_EQ(ReadListFile(path("list"), before).outcome, Unchanged);
    std::ofstream(dir / "new") << "A 1\r\n";
    fs::rename(dir / "new", dir / "list");
    EXPECT_EQ(ReadListFile(path("list"), before).outcome, Read);
    EXPECT_FALSE(StampListFile(path("absent")).present);
}

TEST_F(ListFileAccessTest, ReadsOnlyAPlainFileOfOursWithoutBlocking) {
    std::ofstream(dir / "target") << "secret 1\r\n";
    fs::create_symlink(dir / "target", dir / "link");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::ofstream(dir / "huge");
    fs::resize_file(dir / "huge", kMaxListFileBytes + 1);
    // Another user's list, planted where ours belongs (the suite runs as root,
    // who can give a file away).
    std::ofstream(dir / "theirs") << "A 1\r\n";
    ASSERT_EQ(::chown((dir / "theirs").c_str(), 65534, 65534), 0);
    const struct {
        std::string name;
        ListFileRead::Outcome outcome;
    } rows[] = {{"target", Read},           {"absent", Missing},      {"link", NotPlainFile},
                {"dangling", NotPlainFile}, {"folder", NotPlainFile}, {"fifo", NotPlainFile},
                {"theirs", NotPlainFile},   {"huge", TooLarge},       {"/dev/null", NotPlainFile}};
    for (const auto& row : rows) {
        EXPECT_EQ(ReadListFile(path(row.name), {}).outcome, row.outcome) << row.name;
    }
}

TEST_F(ListFileAccessTest, ListFileLivesInAPrivateFolderOfOurs) {
    for (const char* name : {"run", "open", "other", "my run", "my\"run"}) {
        fs::create_directory(dir / name);
        fs::permissions(dir / name, fs::perms::owner_all);
    }
    fs::permissions(dir / "open", fs::perms::all);  // others could plant a list
    const bool root = ::chown((dir / "other").c_str(), 65534, 65534) == 0;
    const std::string fallback = (dir / "fallback").string();
    const struct {
        const char* runtimeDir;
        const char* folder;
    } rows[] = {{"run", "run"},
                {"run/", "run"},
                {"open", "fallback"},
                {"missing", "fallback"},
                // The list command, unquoted, could not carry a blank or a quote.
                {"my run", "fallback"},
                {"my\"run", "fallback"},
                {nullptr, "fallback"},
                {root ? "other" : "missing", "fallback"}};
    for (const auto& row : rows) {
        const std::string runtimeDir = row.runtimeDir ? (dir / row.runtimeDir).string() : "";
        EXPECT_EQ(ListFileInPrivateFolder(row.runtimeDir ? runtimeDir.c_str() : nullptr, fallback),
                  path(std::string(row.folder) + "/pdilist.txt"))
            << (row.runtimeDir ? row.runtimeDir : "unset");
    }
    EXPECT_EQ(fs::status(fallback).permissions(), fs::perms::owner_all);  // made private
    fs::permissions(fallback, fs::perms::all);
    EXPECT_EQ(ListFileInPrivateFolder(nullptr, fallback), std::nullopt);
}

}  // namespace
}  // namespace zelvorn
