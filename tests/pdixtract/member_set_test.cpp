// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "member_set.h"

namespace {

struct NameCase {
    const char* label;
    const char* path;
    bool is_member;
    const char* stem;
    unsigned index;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.label;
}

class MemberNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(MemberNames, SplitByTheSetConvention) {
    const NameCase& c = GetParam();
    pdix::MemberName n;
    ASSERT_EQ(pdix::parse_member_name(c.path, n), c.is_member);
    EXPECT_EQ(n.dir_and_stem, c.is_member ? c.stem : "");
    EXPECT_EQ(n.index, c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemberNames,
    ::testing::Values(NameCase{"First", "/s/disc.pdi", true, "/s/disc", 0},
                      NameCase{"Twelfth", "/s/disc.12.pdi", true, "/s/disc", 12},
                      NameCase{"UpperCase", "My Movie.1.PDI", true, "My Movie", 1},
                      NameCase{"ZeroIsPartOfTheStem", "disc.0.pdi", true, "disc.0", 0},
                      NameCase{"DotInTheFolder", "v1.2/disc.pdi", true, "v1.2/disc", 0},
                      NameCase{"NotANumber", "disc.x1.pdi", true, "disc.x1", 0},
                      NameCase{"TenDigits", "disc.1234567890.pdi", true, "disc.1234567890", 0},
                      NameCase{"NotPdi", "disc.iso", false, "", 0}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
