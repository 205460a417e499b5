// End-to-end tests of the pdixtract command lines on images that xorriso builds here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "test_support.h"

using namespace pdix_test;

namespace {

class PdixtractTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_work = new TempDir;
        s_tree = dvd_tree(3 << 20);
        s_image = make_image(s_tree, s_work->path());
        s_order = image_order(s_work->path() / "image.iso");
    }
    static void TearDownTestSuite() {
        delete s_work;
        s_work = nullptr;
    }

    // The list file's expected bytes, built from xorriso's report of the image layout.
    static std::string expected_list() {
        std::string text;
        for (const auto& [name, size] : s_order) {
            std::string line = name + " " + std::to_string(size);
            if (name.find_first_of(" ,") != std::string::npos) line = "\"" + line + "\"";
            text += line + "\r\n";
        }
        return text;
    }

    // Source content of the tree file with this file name.
    static std::string source_of(const std::string& name) {
        for (const auto& [rel, content] : s_tree) {
            if (fs::path(rel).filename() == name) return content;
        }
        ADD_FAILURE() << "no source file " << name;
        return {};
    }

    // Splits the image into 1 MiB members, so the VOBs cross member boundaries.
    std::vector<fs::path> members(std::size_t size = 1 << 20) {
        return write_members(s_image, m_dir.path(), "disc", size);
    }

    static inline TempDir* s_work = nullptr;
    static inline Tree s_tree;
    static inline std::string s_image;
    static inline std::vector<std::pair<std::string, std::uint64_t>> s_order;
    TempDir m_dir;
};

TEST_F(PdixtractTest, ListsEveryRegularFileInImageOrderByteForByte) {
    std::size_t count = members().size();
    RunResult r = run_pdixtract({"-gb", "list.txt", "disc.pdi"}, m_dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(m_dir.path() / "list.txt"), expected_list());
    EXPECT_NE(r.err.find("EXTRA/MY NOTES.TXT"), std::string::npos) << r.err;
    EXPECT_EQ(list_dir(m_dir.path()).size(), count + 1) << "no temporary file may stay behind";
}

TEST_F(PdixtractTest, ConvertWritesTheImageByteForByteOverAnOldFile) {
    members();
    write_file(m_dir.path() / "out.iso", "OLD");
    RunResult r = run_pdixtract({"-i", "out.iso", "disc.3.pdi"}, m_dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(read_file(m_dir.path() / "out.iso") == s_image);
    EXPECT_EQ(r.out.find('\r'), std::string::npos) << "no redraws when stdout is not a terminal";
}

// How the set is named and which members are present.
struct NamingCase {
    const char* label;
    int drop;           // member index removed before the run, or -1
    bool cut_last;      // the last member loses its final 100 KiB
    const char* named;  // the SET argument
    int status;
    const char* message;  // part of the error line
};

void PrintTo(const NamingCase& c, std::ostream* os) {
    *os << c.label;
}

class SetNaming : public PdixtractTest, public ::testing::WithParamInterface<NamingCase> {};

TEST_P(SetNaming, NamesTheWholeSetOrFailsClearly) {
    const NamingCase& c = GetParam();
    std::vector<fs::path> paths = members((s_image.size() + 2) / 3);
    ASSERT_EQ(paths.size(), 3u);
    if (c.drop >= 0) fs::remove(paths[c.drop]);
    if (c.cut_last) fs::resize_file(paths.back(), fs::file_size(paths.back()) - 100 * 1024);
    write_file(m_dir.path() / "notes.pdi", std::string(100000, 'x'));

    RunResult r = run_pdixtract({"-gb", "list.txt", c.named}, m_dir.path());
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 0) {
        EXPECT_EQ(read_file(m_dir.path() / "list.txt"), expected_list());
    } else {
        EXPECT_FALSE(fs::exists(m_dir.path() / "list.txt"));
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetNaming,
    ::testing::Values(NamingCase{"first", -1, false, "disc.pdi", 0, ""},
                      NamingCase{"second", -1, false, "disc.1.pdi", 0, ""},
                      NamingCase{"third", -1, false, "disc.2.pdi", 0, ""},
                      NamingCase{"middle_missing_named_first", 1, false, "disc.pdi", 4,
                                 "truncated"},
                      NamingCase{"middle_missing_named_third", 1, false, "disc.2.pdi", 3,
                                 "disc.1.pdi is missing"},
                      NamingCase{"first_missing", 0, false, "disc.1.pdi", 3, "first member"},
                      NamingCase{"truncated", -1, true, "disc.1.pdi", 4, "truncated"},
                      NamingCase{"not_an_image", -1, false, "notes.pdi", 4, "not a disc image"},
                      NamingCase{"absent", -1, false, "nothing.pdi", 3, "nothing.pdi"}),
    [](const auto& info) { return std::string(info.param.label); });

// An extraction command and what must land where.
struct ExtractCase {
    const char* label;
    std::vector<std::string> before;  // options and DEST, before SET
    std::vector<std::string> names;
    const char* folder;  // where the files land, relative to the test folder
    std::vector<std::string> expected;
};

void PrintTo(const ExtractCase& c, std::ostream* os) {
    *os << c.label;
}

class Extract : public PdixtractTest, public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(Extract, LandsByteIdenticalFilesInTheFolder) {
    const ExtractCase& c = GetParam();
    members();
    std::vector<std::string> args = c.before;
    args.push_back("disc.1.pdi");
    args.insert(args.end(), c.names.begin(), c.names.end());
    RunResult r = run_pdixtract(args, m_dir.path());
    ASSERT_EQ(r.status, 0) << r.err;

    std::vector<std::string> expected = c.expected;
    std::sort(expected.begin(), expected.end());
    fs::path folder = m_dir.path() / c.folder;
    EXPECT_EQ(list_dir(folder), expected);
    for (const std::string& name : expected) {
        EXPECT_TRUE(read_file(folder / name) == source_of(name)) << name;
    }
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    EXPECT_NE(r.out.find("Extracted " + std::to_string(expected.size()) + " file"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(fs::exists(m_dir.path() / "disc.pdi")) << "members stay without -r";
}

const std::vector<std::string> all_files = {"VIDEO_TS.IFO", "VIDEO_TS.BUP", "VIDEO_TS.VOB",
                                            "VTS_01_0.IFO", "VTS_01_0.BUP", "VTS_01_1.VOB",
                                            "VTS_01_2.VOB", "MY NOTES.TXT", "EMPTY.DAT"};

INSTANTIATE_TEST_SUITE_P(
    Cases, Extract,
    ::testing::Values(
        ExtractCase{"all", {"-m", "out"}, {}, "out", all_files},
        ExtractCase{"all_video_ts", {"-v", "-m", "out"}, {}, "out/VIDEO_TS", all_files},
        ExtractCase{"named",
                    {"-m", "out"},
                    {"VTS_01_1.VOB", "VIDEO_TS.IFO"},
                    "out",
                    {"VIDEO_TS.IFO", "VTS_01_1.VOB"}},
        ExtractCase{"named_video_ts",
                    {"-v", "-m", "out"},
                    {"VTS_01_2.VOB", "VTS_01_2.VOB"},
                    "out/VIDEO_TS",
                    {"VTS_01_2.VOB"}},
        ExtractCase{"name_with_blank", {"-m", "out"}, {"MY NOTES.TXT"}, "out", {"MY NOTES.TXT"}},
        ExtractCase{"drive_designator", {"-m", "E:"}, {"EMPTY.DAT"}, "E:", {"EMPTY.DAT"}}),
    [](const auto& info) { return std::string(info.param.label); });

// A command with -r and whether it must succeed.
struct RemoveCase {
    const char* label;
    std::vector<std::string> args;
    int status;
    std::uint64_t file_limit = 0;  // simulates a full disk
};

void PrintTo(const RemoveCase& c, std::ostream* os) {
    *os << c.label;
}

class RemoveMembers : public PdixtractTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveMembers, DeletesOnlyTheMembersAndOnlyOnSuccess) {
    const RemoveCase& c = GetParam();
    std::vector<fs::path> paths = members();
    // Look-alikes that are not members: a later member behind a gap, another set, an ISO.
    std::vector<std::string> bystanders = {"disc.99.pdi", "disc.iso", "disco.pdi", "disc.pdi.bak"};
    for (const std::string& b : bystanders) write_file(m_dir.path() / b, "keep");
    RunResult r = run_pdixtract(c.args, m_dir.path(), c.file_limit);
    EXPECT_EQ(r.status, c.status) << r.err;
    for (const fs::path& p : paths) EXPECT_EQ(fs::exists(p), c.status != 0) << p;
    for (const std::string& b : bystanders) EXPECT_EQ(read_file(m_dir.path() / b), "keep") << b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveMembers,
    ::testing::Values(RemoveCase{"extract", {"-r", "-m", "out", "disc.2.pdi"}, 0},
                      RemoveCase{
                          "extract_named", {"-r", "-v", "-m", "o", "disc.pdi", "VTS_01_0.IFO"}, 0},
                      RemoveCase{"convert", {"-r", "-i", "x.iso", "disc.pdi"}, 0},
                      RemoveCase{"unknown_name", {"-r", "-m", "out", "disc.pdi", "NOPE.VOB"}, 5},
                      RemoveCase{"empty_iso_path", {"-r", "-i", "", "disc.pdi"}, 2},
                      RemoveCase{"disk_full", {"-r", "-i", "x.iso", "disc.pdi"}, 6, 1 << 20}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PdixtractTest, FailedConversionLeavesTheOldIsoAndNoTemporaryFile) {
    members();
    write_file(m_dir.path() / "out.iso", "OLD");
    std::vector<std::string> before = list_dir(m_dir.path());
    RunResult r = run_pdixtract({"-i", "out.iso", "disc.pdi"}, m_dir.path(), 1 << 20);
    EXPECT_EQ(r.status, 6) << r.err;
    EXPECT_NE(r.err.find("out.iso"), std::string::npos) << r.err;
    EXPECT_EQ(read_file(m_dir.path() / "out.iso"), "OLD");
    EXPECT_EQ(list_dir(m_dir.path()), before);
}

TEST_F(PdixtractTest, FailedListingLeavesTheOldList) {
    write_file(m_dir.path() / "bad.pdi", std::string(64 * 1024, 'x'));
    write_file(m_dir.path() / "list.txt", "OLD 1\r\n");
    RunResult r = run_pdixtract({"-gb", "list.txt", "bad.pdi"}, m_dir.path());
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(read_file(m_dir.path() / "list.txt"), "OLD 1\r\n");
    EXPECT_EQ(list_dir(m_dir.path()).size(), 2u);
}

TEST_F(PdixtractTest, DiskFullKeepsCompletedFilesAndRemovesTheFailingOne) {
    members();
    // 2 MiB fits every file but the 3 MiB VOB.
    RunResult r = run_pdixtract({"-m", "out", "disc.pdi"}, m_dir.path(), 2 << 20);
    EXPECT_EQ(r.status, 6) << r.err;
    EXPECT_NE(r.err.find("VTS_01_1.VOB"), std::string::npos) << r.err;
    std::vector<std::string> done;
    for (const auto& [name, size] : s_order) {
        if (name == "VTS_01_1.VOB") break;
        done.push_back(name);
    }
    std::sort(done.begin(), done.end());
    EXPECT_EQ(list_dir(m_dir.path() / "out"), done);
    for (const std::string& name : done) {
        EXPECT_TRUE(read_file(m_dir.path() / "out" / name) == source_of(name)) << name;
    }
}

TEST_F(PdixtractTest, TruncatedSetFailsBeforeWritingAnything) {
    std::vector<fs::path> paths = members();
    fs::remove(paths.back());
    RunResult r = run_pdixtract({"-m", "out", "disc.pdi"}, m_dir.path());
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_FALSE(fs::exists(m_dir.path() / "out"));
}

TEST_F(PdixtractTest, SameFileNameTwiceIsRefusedBeforeWriting) {
    Tree tree = {{"A/X.DAT", "one"}, {"B/X.DAT", "two"}, {"B/Y.DAT", "three"}};
    write_members(make_image(tree, m_dir.path()), m_dir.path(), "dup", 1 << 20);
    RunResult all = run_pdixtract({"-m", "out", "dup.pdi"}, m_dir.path());
    EXPECT_EQ(all.status, 5);
    EXPECT_NE(all.err.find("A/X.DAT"), std::string::npos) << all.err;
    EXPECT_NE(all.err.find("B/X.DAT"), std::string::npos) << all.err;
    EXPECT_FALSE(fs::exists(m_dir.path() / "out"));
    RunResult one = run_pdixtract({"-m", "out", "dup.pdi", "Y.DAT"}, m_dir.path());
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(read_file(m_dir.path() / "out" / "Y.DAT"), "three");
}

TEST_F(PdixtractTest, HardLinkedRecordsShareDataAndBothExtract) {
    // xorriso stores hard-linked files once; libarchive then reports the second as a link.
    Tree tree = {{"VIDEO_TS/VTS_01_0.IFO", random_bytes(70000, 9)}, {"B/OTHER.DAT", "x"}};
    std::string image = make_image(tree, m_dir.path(), {{"A/COPY.IFO", "VIDEO_TS/VTS_01_0.IFO"}});
    write_members(image, m_dir.path(), "hl", 40960);
    const std::string& data = tree["VIDEO_TS/VTS_01_0.IFO"];
    RunResult all = run_pdixtract({"-m", "all", "hl.1.pdi"}, m_dir.path());
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_TRUE(read_file(m_dir.path() / "all" / "VTS_01_0.IFO") == data);
    EXPECT_TRUE(read_file(m_dir.path() / "all" / "COPY.IFO") == data);
    RunResult link_only = run_pdixtract({"-m", "one", "hl.pdi", "COPY.IFO"}, m_dir.path());
    ASSERT_EQ(link_only.status, 0) << link_only.err;
    EXPECT_EQ(list_dir(m_dir.path() / "one"), std::vector<std::string>{"COPY.IFO"});
    EXPECT_TRUE(read_file(m_dir.path() / "one" / "COPY.IFO") == data);
    RunResult list = run_pdixtract({"-gb", "l.txt", "hl.pdi"}, m_dir.path());
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(read_file(m_dir.path() / "l.txt").find("COPY.IFO 70000\r\n"), std::string::npos);
}

// A malformed command line and the start of its message.
struct UsageCase {
    const char* label;
    std::vector<std::string> args;
    const char* message;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.label;
}

class Usage : public PdixtractTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(Usage, OneLineAndExitStatusTwo) {
    const UsageCase& c = GetParam();
    RunResult r = run_pdixtract(c.args, m_dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind(std::string("pdixtract: ") + c.message, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(list_dir(m_dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Usage,
    ::testing::Values(UsageCase{"nothing", {}, "no command"},
                      UsageCase{"unknown", {"-x", "-m", "a", "b"}, "unknown option -x"},
                      UsageCase{"missing_set", {"-m", "out"}, "option -m needs"},
                      UsageCase{"surplus", {"-i", "a.iso", "b.pdi", "c"}, "unexpected argument c"},
                      UsageCase{"v_with_i", {"-v", "-i", "a.iso", "b.pdi"}, "-v applies"},
                      UsageCase{"r_with_gb", {"-r", "-gb", "l.txt", "b.pdi"}, "-r does not"},
                      UsageCase{"empty_dest", {"-m", "", "b.pdi"}, "no destination"},
                      UsageCase{"empty_set", {"-gb", "l.txt", ""}, "no set named"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PdixtractTest, HelpDocumentsSetsAndExitCodes) {
    RunResult r = run_pdixtract({"--help"}, m_dir.path());
    EXPECT_EQ(r.status, 0);
    for (const char* part : {"-gb LIST SET", "NAME.1.pdi", "Exit status", "  7  "}) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    }
}

}  // namespace
