// SPDX-License-Identifier: GPL-3.0-or-later
// The directory readers in-process: how little listing reads, and every input the fuzzer
// keeps (its seeds and each input that once broke the reader) read or refused cleanly.
#include <gtest/gtest.h>

#include <fstream>

#include "fuzz_checks.h"
#include "member_set.h"
#include "test_support.h"
#include "volume.h"

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
    return 0;
}

TEST(Volume, ListingAMultiMemberSetReadsOnlyKilobytes) {
    TempDir dir;
    Tree tree;
    for (int i = 0; i < 8; ++i)
        tree["VIDEO_TS/VTS_0" + std::to_string(i) + ".VOB"] = random_bytes(6 << 20, i);
    write_members(make_image(tree), dir.path(), "big", 8 << 20);
    pdix::MemberSet set = pdix::MemberSet::open((dir.path() / "big.2.pdi").string());
    std::uint64_t before = rchar();
    auto volume = pdix::open_volume(set, "big");
    std::uint64_t read = rchar() - before;
    EXPECT_EQ(volume->files().size(), tree.size());
    EXPECT_LT(read, 256u << 10) << "listing must seek over file data, not read it";
    EXPECT_GT(read, 0u) << "the counter must see the directory reads";
}

TEST(Volume, EveryStoredFuzzInputIsReadOrRefusedCleanly) {
    int count = 0;
    for (const char* folder :
         {ZELVORN_FUZZ_SEEDS "/image_set", ZELVORN_TEST_DATA "/fuzz/image_set"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string bytes = read_file(entry.path());
            const char* problem =
                CheckImageSet(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            EXPECT_EQ(problem, nullptr) << entry.path() << ": " << problem;
            ++count;
        }
    }
    EXPECT_GE(count, 5);
}

}  // namespace
