// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/dialogs.h"

#include <gtest/gtest.h>

#include "core_fakes.h"

namespace zelvorn {
namespace {

TEST(LaunchOrReport, TellsTheUserWhyNothingStarted) {
    const struct {
        LaunchResult result;
        bool started;
        std::vector<std::u16string> errors;
    } rows[] = {
        {{}, true, {}},
        {{LaunchResult::Status::ProgramNotFound, {}}, false, {u"pdixtract not found"}},
        {{LaunchResult::Status::StartFailed, u"Permission denied"},
         false,
         {u"pdixtract could not be started"}},
    };
    for (const auto& row : rows) {
        RecordingLauncher launcher;
        launcher.result = row.result;
        ScriptedDialogs dialogs;
        EXPECT_EQ(LaunchOrReport(launcher, dialogs, u"pdixtract -m \"a\" \"b\"",
                                 WindowStyle::MinimizedActive),
                  row.started);
        EXPECT_EQ(dialogs.errors, row.errors);
    }
}

}  // namespace
}  // namespace zelvorn
