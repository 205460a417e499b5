// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobs/convert_to_iso.h"

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

TEST_F(ConvertToIsoTest, EveryCombinationOfBoxesGivesItsPrefixAndStyle) {
    const struct {
        OptionFlags boxes;
        std::u16string_view prefix;
        WindowStyle style;
    } rows[] = {
        {{0, 0, 0}, u"pdixtract -i ", MaximizedActive},
        {{1, 0, 0}, u"pdixtract -r -i ", MaximizedActive},
        {{1, 1, 0}, u"pdixtract -r -i ", MaximizedActive},
        {{1, 1, 1}, u"pdixtract -r -i ", MinimizedActive},
        {{1, 0, 1}, u"pdixtract -r -i ", MinimizedActive},
        {{0, 1, 1}, u"pdixtract -i ", MinimizedActive},
        {{0, 0, 1}, u"pdixtract -i ", MinimizedActive},
        {{0, 1, 0}, u"pdixtract -i ", MaximizedActive},
    };
    fields.source = u"C:\\Sets\\film.pdi";
    dialogs.yes = true;
    for (const auto& row : rows) {
        dialogs.answers = {u"E:\\My Images\\film.iso"};
        fields.flags = row.boxes;
        launcher.launches.clear();
        press();
        const std::u16string line =
            std::u16string(row.prefix) + u"\"E:\\My Images\\film.iso\" \"C:\\Sets\\film.pdi\"";
        EXPECT_EQ(launcher.launches, (std::vector<RecordingLauncher::Launch>{{line, row.style}}));
    }
    EXPECT_EQ(dialogs.questions, std::vector<std::u16string>(8, kWarning));
    EXPECT_EQ(dialogs.saveFilters,
              (std::vector<FileFilter>{{u"ISO-files", u"*.iso"}, {u"All Files", u"*.*"}}));
}

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
}

}  // namespace
}  // namespace zelvorn
