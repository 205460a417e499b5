// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/drive_root_rule.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "core_fakes.h"

namespace zelvorn {
namespace {

TEST(ApplyDriveRootRule, ShortensOnlyABareUpperCaseRootFromCToZ) {
    const struct {
        std::u16string_view field, after;
    } rows[] = {
        {u"C:\\", u"C:"}, {u"Z:\\", u"Z:"}, {u"B:\\", u"B:\\"},   {u"e:\\", u"e:\\"},
        {u"E:", u"E:"},   {u"E:/", u"E:/"}, {u"E:\\ ", u"E:\\ "}, {u" E:\\", u" E:\\"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(base::Utf16ToUtf8(row.field));
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
