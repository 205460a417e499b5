// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/convert_to_iso.h"

#include <gtest/gtest.h>

#include "core_fakes.h"

namespace zelvorn {
namespace {

using enum WindowStyle;

const std::u16string kWarning =
    u"Warning|If your filesystem is FAT32 this may cause errors due to the filesize.\r\n"
    u"Continue?";

struct ConvertToIsoTest : testing::Test {
    void press() { ConvertToIso(fields, launcher, dialogs, saveAs); }

    FakeMainWindowFields fields;
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    SaveAsDialog saveAs;
};

TEST_F(ConvertToIsoTest, TheNameIsWrittenAndKeptWhateverTheAnswer) {
    fields.destination = u"E:\\";
    fields.source = u"D:\\Images\\disc.pdi";
    // First use cancelled: the empty name is written, and Yes converts to it.
    dialogs.yes = true;
    press();
    EXPECT_EQ(fields.destination, u"");
    EXPECT_EQ(launcher.launches.at(0).commandLine, u"pdixtract -i \"\" \"D:\\Images\\disc.pdi\"");
    // A name answered No: nothing starts, the field keeps the name.
    dialogs.answers = {u"D:\\Backup\\disc"};
    dialogs.yes = false;
    press();
    EXPECT_EQ(fields.destination, u"D:\\Backup\\disc");
    EXPECT_EQ(launcher.launches.size(), 1u);
    // The next use starts from it, and a cancel there keeps it too.
    fields.destination = u"typed over";
    press();
    EXPECT_EQ(dialogs.saveStartNames, (std::vector<std::u16string>{u"", u"", u"D:\\Backup\\disc"}));
    EXPECT_EQ(fields.destination, u"D:\\Backup\\disc");
    EXPECT_EQ(fields.rewrites, 3);
    EXPECT_EQ(dialogs.questions, std::vector<std::u16string>(3, kWarning));
    EXPECT_EQ(dialogs.saveFilters,
              (std::vector<FileFilter>{{u"ISO-files", u"*.iso"}, {u"All Files", u"*.*"}}));
}

}  // namespace
}  // namespace zelvorn
