// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/list_and_choose.h"

#include <gtest/gtest.h>

#include "core_fakes.h"

namespace zelvorn {
namespace {

struct ListAndChooseTest : testing::Test {
    ListAndChooseTest() {
        fields.destination = u"E:\\";
        fields.source = u"C:\\Sets\\My Movie.pdi";
        fields.boxes = {BoxState::Checked, BoxState::Checked,
                        BoxState::Checked};  // read by no step
        launcher.onLaunch = [this] { steps.steps.push_back("launch"); };
    }
    void press(std::u16string path = u"C:\\pdilist.txt") {
        ListAndChoose(fields, launcher, dialogs, steps, steps, {path, &Stamp});
    }
    static ListFileStamp Stamp(const std::u16string&) { return {true, 1, 2, 3, 4}; }

    FakeMainWindowFields fields;
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    RecordingSteps steps;
};

TEST_F(ListAndChooseTest, TidiesListsMinimisedWaitsASecondThenOpensTheWindow) {
    press();
    EXPECT_EQ(fields.destination, u"E:");
    EXPECT_EQ(launcher.launches, (std::vector<RecordingLauncher::Launch>{
                                     {u"pdixtract -gb C:\\pdilist.txt \"C:\\Sets\\My Movie.pdi\"",
                                      WindowStyle::MinimizedActive}}));
    EXPECT_EQ(steps.steps,
              (std::vector<std::string>{"launch", "wait 1000", "open, watching pdixtract"}));
    // The window learns what the list file was like before the command.
    EXPECT_EQ(steps.stamps, (std::vector<ListFileStamp>{{true, 1, 2, 3, 4}}));
}

TEST_F(ListAndChooseTest, StopsWhenNothingCouldStart) {
    launcher.status = LaunchResult::Status::ProgramNotFound;
    press();
    press(u"");  // no private folder for the list
    EXPECT_EQ(steps.steps, std::vector<std::string>{"launch"});
    EXPECT_EQ(dialogs.errors, (std::vector<std::u16string>{u"pdixtract not found",
                                                           u"No folder for the list of files"}));
    EXPECT_EQ(fields.destination, u"E:");
}

}  // namespace
}  // namespace zelvorn
