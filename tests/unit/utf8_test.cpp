// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/utf8.h"

#include <gtest/gtest.h>

namespace base {
namespace {

TEST(Utf8, RoundTripsAndReplacesWhatDoesNotDecode) {
    for (std::u16string_view text : {u"", u"plain", u"café 日本 \U0001F4BF"}) {
        EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    }
    const struct {
        std::string_view bytes;
        std::u16string_view text;
    } invalid[] = {
        {"\xff", u"\uFFFD"},       {"a\x80z", u"a\uFFFDz"},     {"\xc3", u"\uFFFD"},
        {"\xc0\xaf", u"\uFFFD"},   {"\xed\xa0\x80", u"\uFFFD"}, {"\xf4\x90\x80\x80", u"\uFFFD"},
        {"\xe2\x82x", u"\uFFFDx"},
    };
    for (const auto& row : invalid) EXPECT_EQ(Utf8ToUtf16(row.bytes), row.text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace base
