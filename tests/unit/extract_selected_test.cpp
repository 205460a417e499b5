// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/extract_selected.h"

#include <gtest/gtest.h>

#include "core_fakes.h"

namespace zelvorn {
namespace {

using enum WindowStyle;

// The list as the window holds it, with the indices the user selected.
struct FakeSelectionList : SelectionList {
    std::size_t entryCount() const override { return entries.size(); }
    std::u16string entryText(std::size_t i) const override { return entries.at(i); }
    bool isSelected(std::size_t i) const override { return selected.at(i); }
    void setNamesField(const std::u16string& text) override { namesFieldText = text + u"*"; }
    std::u16string namesField() const override { return namesFieldText; }

    std::vector<std::u16string> entries{u"VIDEO_TS.IFO 12288", u"VIDEO_TS.VOB 4096",
                                        u"VTS_01_1.VOB 2048"};
    std::vector<bool> selected{true, false, true};
    std::u16string namesFieldText;
};

TEST(ExtractSelected, EveryCombinationOfBoxesGivesItsPrefixAndStyle) {
    const struct {
        OptionFlags boxes;
        std::u16string_view prefix;
        WindowStyle style;
    } rows[] = {
        {{0, 0, 0}, u"pdixtract -m ", MaximizedActive},
        {{1, 0, 0}, u"pdixtract -r -m ", MaximizedActive},
        {{1, 1, 0}, u"pdixtract -r -v -m ", MaximizedActive},
        {{1, 1, 1}, u"pdixtract -r -v -m ", MinimizedInactive},
        {{0, 1, 1}, u"pdixtract -v -m ", MinimizedInactive},
        {{0, 0, 1}, u"pdixtract -m ", MinimizedInactive},
        {{1, 0, 1}, u"pdixtract -r -m ", MinimizedInactive},
        {{0, 1, 0}, u"pdixtract -v -m ", MaximizedActive},
    };
    for (const auto& row : rows) {
        FakeMainWindowFields main;
        main.destination = u"D:\\Out";
        main.source = u"D:\\Images\\disc.pdi";
        main.flags = row.boxes;
        FakeSelectionList list;
        RecordingLauncher launcher;
        ScriptedDialogs dialogs;
        ExtractSelected(main, list, launcher, dialogs);
        // The names come back from the hidden field, as it holds them.
        const std::u16string line = std::u16string(row.prefix) +
                                    u"\"D:\\Out\" \"D:\\Images\\disc.pdi\" VIDEO_TS.IFO VTS_01_1.VOB*";
        EXPECT_EQ(launcher.launches, (std::vector<RecordingLauncher::Launch>{{line, row.style}}));
    }
}

TEST(NamesText, OneBlankAndTheTextBeforeTheFirstBlankPerEntry) {
    const struct {
        std::vector<std::u16string> selected;
        std::u16string_view names;
    } rows[] = {
        {{}, u""},
        {{u"VIDEO_TS.IFO 12288"}, u" VIDEO_TS.IFO"},
        {{u"A.TXT 10 20", u"B\tC 5"}, u" A.TXT B\tC"},
        {{u" A.TXT 10"}, u" "},
        {{u"NOBLANK", u"", u"Z 1"}, u" NOBLANK Z"},
    };
    for (const auto& row : rows) EXPECT_EQ(NamesText(row.selected), row.names);
}

}  // namespace
}  // namespace zelvorn
