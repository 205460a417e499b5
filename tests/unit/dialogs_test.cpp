// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/dialogs.h"

#include <gtest/gtest.h>

#include "core_fakes.h"

namespace zelvorn {
namespace {

TEST(StartedOrReported, TellsTheUserWhyNothingStarted) {
    using enum LaunchResult::Status;
    const struct {
        LaunchResult::Status status;
        bool started;
        std::vector<std::u16string> errors;
    } rows[] = {
        {Started, true, {}},
        {ProgramNotFound, false, {u"pdixtract not found"}},
        {StartFailed, false, {u"pdixtract could not be started"}},
    };
    for (const auto& row : rows) {
        RecordingLauncher launcher;
        ScriptedDialogs dialogs;
        EXPECT_EQ(StartedOrReported({row.status, u"Permission denied", nullptr}, launcher, dialogs),
                  row.started);
        EXPECT_EQ(dialogs.errors, row.errors);
    }
}

}  // namespace
}  // namespace zelvorn
