// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "actions/convert_to_iso.h"
#include "actions/extract_all.h"
#include "core_fakes.h"
#include "selection_window/extract_selected.h"

namespace zelvorn {
namespace {

using enum WindowStyle;
constexpr WindowStyle Max = MaximizedActive, Min = MinimizedActive, MinInactive = MinimizedInactive;
constexpr BoxState O = BoxState::Unchecked, X = BoxState::Checked;

struct Expected {
    std::u16string_view options;  // what follows "pdixtract "
    WindowStyle style;
};

TEST(Actions, EachGivesItsOptionsAndWindowStyleForEveryCombinationOfBoxes) {
    const struct {
        OptionBoxes boxes;
        Expected extractAll, extractSelected, convert;
    } rows[] = {
        {{O, O, O}, {u"-m", Max}, {u"-m", Max}, {u"-i", Max}},
        {{X, O, O}, {u"-r -m", Max}, {u"-r -m", Max}, {u"-r -i", Max}},
        {{X, X, O}, {u"-r -v -m", Max}, {u"-r -v -m", Max}, {u"-r -i", Max}},
        {{X, X, X}, {u"-r -v -m", Min}, {u"-r -v -m", MinInactive}, {u"-r -i", Min}},
        {{O, X, X}, {u"-v -m", Min}, {u"-v -m", MinInactive}, {u"-i", Min}},
        {{O, X, O}, {u"-v -m", Max}, {u"-v -m", Max}, {u"-i", Max}},
        {{X, O, X}, {u"-r -m", Min}, {u"-r -m", MinInactive}, {u"-r -i", Min}},
        {{O, O, X}, {u"-m", Min}, {u"-m", MinInactive}, {u"-i", Min}},
    };
    const auto launch = [](const Expected& expected, std::u16string_view rest) {
        return RecordingLauncher::Launch{
            u"pdixtract " + std::u16string(expected.options) + u" " + std::u16string(rest),
            expected.style};
    };
    for (const auto& row : rows) {
        FakeMainWindowFields main;
        main.destination = u"E:\\";  // tidied by Extract all files before it composes
        main.source = u"D:\\Images\\disc.pdi";
        main.boxes = row.boxes;
        FakeSelectionList list;
        RecordingLauncher launcher;
        ScriptedDialogs dialogs;
        dialogs.answers = {u"E:\\film.iso"};
        dialogs.yes = true;
        SaveAsDialog saveAs;
        ExtractAll(main, launcher, dialogs);
        // The names come back from the hidden field, as it holds them.
        ExtractSelected({main, launcher, dialogs}, list);
        ConvertToIso(main, launcher, dialogs, saveAs);
        EXPECT_EQ(
            launcher.launches,
            (std::vector{launch(row.extractAll, u"\"E:\" \"D:\\Images\\disc.pdi\""),
                         launch(row.extractSelected,
                                u"\"E:\" \"D:\\Images\\disc.pdi\" VIDEO_TS.IFO VTS_01_1.VOB*"),
                         launch(row.convert, u"\"E:\\film.iso\" \"D:\\Images\\disc.pdi\"")}));
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
