// Tests of the image reader linked in-process, where the read counter can be watched.
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

#include "errors.h"
#include "image_reader.h"
#include "member_set.h"
#include "test_support.h"

using namespace pdix_test;

namespace {

// This process's read counter: every byte read(2)/pread(2) returned, page cache or not.
std::uint64_t rchar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    ADD_FAILURE() << "no rchar in /proc/self/io";
    return 0;
}

TEST(ImageReader, ListingAMultiMemberSetReadsOnlyKilobytes) {
    TempDir dir;
    Tree tree = dvd_tree(24 << 20);  // VOBs of 24 and 12 MiB over 8 MiB members
    std::string image = make_image(tree, dir.path());
    std::vector<fs::path> paths = write_members(image, dir.path(), "big", 8 << 20);
    ASSERT_GE(paths.size(), 5u);

    pdix::MemberSet set = pdix::MemberSet::open((dir.path() / "big.2.pdi").string());
    ASSERT_EQ(set.members().size(), paths.size());
    std::uint64_t fetched = 0;
    std::uint64_t before = rchar();
    std::vector<pdix::ImageFile> files = pdix::scan_files(set, "big", &fetched);
    std::uint64_t read = rchar() - before;

    EXPECT_EQ(files.size(), tree.size());
    EXPECT_LT(read, 256u << 10) << "listing must seek over file data, not read it";
    EXPECT_LE(fetched, read);

    // The counter does see data reads: pulling the whole image through moves it past its size.
    std::vector<char> buf(1 << 20);
    before = rchar();
    for (std::uint64_t off = 0; off < set.size(); off += buf.size()) {
        set.read_at(off, buf.data(), buf.size());
    }
    EXPECT_GE(rchar() - before, set.size());
}

struct NameCase {
    const char* path;
    bool is_member;
    const char* stem;
    unsigned index;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.path;
}

class MemberNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(MemberNames, SplitsByTheSetConvention) {
    const NameCase& c = GetParam();
    pdix::MemberName n;
    ASSERT_EQ(pdix::parse_member_name(c.path, n), c.is_member);
    if (!c.is_member) return;
    EXPECT_EQ(n.dir_and_stem, c.stem);
    EXPECT_EQ(n.index, c.index);
    EXPECT_EQ(pdix::member_path(n, n.index), c.path);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemberNames,
                         ::testing::Values(NameCase{"/s/disc.pdi", true, "/s/disc", 0},
                                           NameCase{"/s/disc.12.pdi", true, "/s/disc", 12},
                                           NameCase{"My Movie.1.PDI", true, "My Movie", 1},
                                           NameCase{"disc.0.pdi", true, "disc.0", 0},
                                           NameCase{"v1.2/disc.pdi", true, "v1.2/disc", 0},
                                           NameCase{"disc.x1.pdi", true, "disc.x1", 0},
                                           NameCase{"disc.iso", false, "", 0}));

TEST(ImageReader, YearLikeSuffixWithoutBaseIsASetOfItsOwn) {
    TempDir dir;
    std::string image = make_image({{"A.TXT", "a"}}, dir.path());
    write_file(dir.path() / "movie.2005.pdi", image);
    pdix::MemberSet set = pdix::MemberSet::open((dir.path() / "movie.2005.pdi").string());
    EXPECT_EQ(set.size(), image.size());
}

}  // namespace
