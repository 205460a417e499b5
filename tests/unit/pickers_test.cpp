// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/pickers.h"

#include <gtest/gtest.h>

namespace zelvorn {
namespace {

TEST(Pickers, FieldsGetThePathWithoutBlanksOrTrailingSlashes) {
    EXPECT_EQ(SourceFieldText(u"  D:\\Images\\Disc.pdi   "), u"D:\\Images\\Disc.pdi");
    EXPECT_EQ(SourceFieldText(u"\tx.pdi\n "), u"\tx.pdi\n");
    EXPECT_EQ(SourceFieldText(std::u16string(254, u' ')), u"");
    EXPECT_EQ(DestinationFieldText(u"/home/me/Films//"), u"/home/me/Films");
    EXPECT_EQ(DestinationFieldText(u"/"), u"/");
    EXPECT_EQ(DestinationFieldText(u"E:\\"), u"E:\\");
    const OpenFileRequest request = SourceFileRequest(u"C:\\");
    EXPECT_EQ(request, (OpenFileRequest{u"Open File",
                                        {{u"InstantCopy Images (*.pdi)", u"*.pdi"},
                                         {u"All Files (*.*)", u"*.*"}},
                                        u"C:\\"}));
}

}  // namespace
}  // namespace zelvorn
