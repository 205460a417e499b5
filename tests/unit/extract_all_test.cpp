// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobs/extract_all.h"

#include <gtest/gtest.h>

#include "core_fakes.h"

namespace zelvorn {
namespace {

using enum WindowStyle;

TEST(ExtractAll, EveryCombinationOfBoxesGivesItsPrefixAndStyle) {
    const struct {
        OptionFlags boxes;
        std::u16string_view prefix;
        WindowStyle style;
    } rows[] = {
        {{0, 0, 0}, u"pdixtract -m ", MaximizedActive},
        {{1, 0, 0}, u"pdixtract -r -m ", MaximizedActive},
        {{1, 1, 0}, u"pdixtract -r -v -m ", MaximizedActive},
        {{1, 1, 1}, u"pdixtract -r -v -m ", MinimizedActive},
        {{0, 1, 1}, u"pdixtract -v -m ", MinimizedActive},
        {{0, 1, 0}, u"pdixtract -v -m ", MaximizedActive},
        {{1, 0, 1}, u"pdixtract -r -m ", MinimizedActive},
        {{0, 0, 1}, u"pdixtract -m ", MinimizedActive},
    };
    for (const auto& row : rows) {
        FakeMainWindowFields fields;
        fields.destination = u"D:\\Out";
        fields.source = u"D:\\Images\\disc.pdi";
        fields.flags = row.boxes;
        RecordingLauncher launcher;
        ScriptedDialogs dialogs;
        ExtractAll(fields, launcher, dialogs);
        const std::u16string line =
            std::u16string(row.prefix) + u"\"D:\\Out\" \"D:\\Images\\disc.pdi\"";
        EXPECT_EQ(launcher.launches, (std::vector<RecordingLauncher::Launch>{{line, row.style}}));
    }
}

TEST(ExtractAll, TidiesADriveRootBeforeComposingAndKeepsItWithoutALaunch) {
    FakeMainWindowFields fields;
    fields.destination = u"E:\\";
    fields.source = u"C:\\Sets\\My Movie.pdi";
    fields.flags = {1, 0, 1};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    ExtractAll(fields, launcher, dialogs);
    ExtractAll(fields, launcher, dialogs);
    const RecordingLauncher::Launch launch{u"pdixtract -r -m \"E:\" \"C:\\Sets\\My Movie.pdi\"",
                                           MinimizedActive};
    EXPECT_EQ(launcher.launches, (std::vector{launch, launch}));
    EXPECT_EQ(fields.rewrites, 1);
}

}  // namespace
}  // namespace zelvorn
