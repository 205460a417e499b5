// SPDX-License-Identifier: GPL-3.0-or-later
#include "extractor/drive_root_rule.h"

#include <gtest/gtest.h>

#include "core_fakes.h"
#include "extractor/utf8.h"

namespace zelvorn {
namespace {

TEST(ApplyDriveRootRule, ShortensOnlyABareUpperCaseRootFromCToZ) {
    const struct {
        std::u16string_view field, after;
    } rows[] = {
        {u"C:\\", u"C:"},        {u"E:\\", u"E:"},         {u"Z:\\", u"Z:"},
        {u"B:\\", u"B:\\"},      {u"A:\\", u"A:\\"},       {u"e:\\", u"e:\\"},
        {u"[:\\", u"[:\\"},      {u"E:", u"E:"},           {u"E:/", u"E:/"},
        {u"E:\\Films", u"E:\\Films"}, {u"E:\\Films\\", u"E:\\Films\\"},
        {u" E:\\", u" E:\\"},    {u"E:\\ ", u"E:\\ "},     {u"", u""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Utf16ToUtf8(row.field));
        FakeMainWindowFields fields;
        fields.destination = row.field;
        ApplyDriveRootRule(fields);
        EXPECT_EQ(fields.destination, row.after);
        // Only a rewrite counts as the program's change of the field.
        EXPECT_EQ(fields.rewrites, row.field == row.after ? 0 : 1);
    }
}

}  // namespace
}  // namespace zelvorn
