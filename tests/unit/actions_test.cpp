// SPDX-License-Identifier: GPL-3.0-or-later
// The actions behind the buttons, over the fakes: what each starts, what it
// writes into the fields and what the user is told when nothing starts.
#include <gtest/gtest.h>

#include "actions/button_states.h"
#include "actions/convert_to_iso.h"
#include "actions/extract_all.h"
#include "actions/list_and_choose.h"
#include "core_fakes.h"
#include "selection_window/extract_selected.h"

namespace zelvorn {
namespace {

using enum WindowStyle;
using Launches = std::vector<RecordingLauncher::Launch>;
constexpr ListFileStamp kListBefore{true, 1, 2, 3, 4};

TEST(Actions, EachGivesItsOptionsAndWindowStyleForEveryCombinationOfBoxes) {
    // -r deletes the set, -v (extracting only) makes VIDEO_TS, and the last
    // box starts pdixtract minimised: inactive for chosen files.
    constexpr BoxState O = BoxState::Unchecked, X = BoxState::Checked;
    for (int boxes = 0; boxes < 8; ++boxes) {
        const bool r = boxes & 1, v = boxes & 2, min = boxes & 4;
        FakeMainWindowFields main(u"E:", u"D:\\disc.pdi", {r ? X : O, v ? X : O, min ? X : O});
        FakeSelectionList list;
        RecordingLauncher launcher;
        ScriptedDialogs dialogs;
        dialogs.answers = {u"E:\\film.iso"};
        dialogs.yes = true;
        SaveAsDialog saveAs;
        ExtractAll(main, launcher, dialogs);
        ExtractSelected({main, launcher, dialogs}, list);
        ConvertToIso(main, launcher, dialogs, saveAs);
        const std::u16string deleting = r ? u"-r " : u"";
        const std::u16string extract =
            u"pdixtract " + deleting + (v ? u"-v " : u"") + u"-m \"E:\" \"D:\\disc.pdi\"";
        // The names come back from the hidden field, as it holds them.
        EXPECT_EQ(launcher.launches,
                  (Launches{{extract, min ? MinimizedActive : MaximizedActive},
                            {extract + u" VIDEO_TS.IFO VTS_01_1.VOB*",
                             min ? MinimizedInactive : MaximizedActive},
                            {u"pdixtract " + deleting + u"-i \"E:\\film.iso\" \"D:\\disc.pdi\"",
                             min ? MinimizedActive : MaximizedActive}}))
            << "boxes " << boxes;
    }
}

TEST(ApplyDriveRootRule, ShortensOnlyABareUpperCaseRootFromCToZ) {
    const struct {
        std::u16string_view field, after;
    } rows[] = {
        {u"C:\\", u"C:"}, {u"Z:\\", u"Z:"}, {u"B:\\", u"B:\\"},   {u"e:\\", u"e:\\"},
        {u"E:", u"E:"},   {u"E:/", u"E:/"}, {u"E:\\ ", u"E:\\ "}, {u" E:\\", u" E:\\"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        FakeMainWindowFields fields{std::u16string(row.field)};
        ApplyDriveRootRule(fields);
        EXPECT_EQ(fields.destination, row.after);
        // Only a rewrite counts as the program's change of the field.
        EXPECT_EQ(fields.rewrites, row.field == row.after ? 0 : 1);
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

TEST(ButtonStates, LoadingDisablesWhatAnEmptyFieldCannotServeAndChangesOnlyEnable) {
    using enum FieldEvent;
    // The fields as the window loads, the changes that follow, and the states
    // of "Extract all files", "Extract files" and "Convert to Iso".
    const struct {
        std::u16string_view source, destination;
        std::vector<FieldEvent> changes;
        ActionButtonStates expected;
    } rows[] = {
        {u"", u"", {}, {false, false, false}},
        {u"a", u"", {}, {false, false, true}},
        {u"", u"/o", {}, {false, false, false}},
        {u" ", u" ", {}, {true, true, true}},  // blanks count as filled
        {u"", u"", {SourceChanged}, {false, false, true}},
        {u"", u"", {DestinationChanged}, {true, true, true}},
        // A change enables whatever the field now holds; nothing disables again.
        {u"", u"", {DestinationChanged, SourceChanged, DestinationChanged}, {true, true, true}},
    };
    for (const auto& row : rows) {
        ActionButtonStates states = ButtonStatesAfter(Loaded, {}, row.source, row.destination);
        for (const FieldEvent change : row.changes)
            states = ButtonStatesAfter(change, states, u"", u"");
        EXPECT_EQ(states, row.expected) << "row " << (&row - rows);
    }
}

TEST(ConvertToIso, TheNameIsWrittenAndKeptWhateverTheAnswer) {
    FakeMainWindowFields fields(u"E:\\", u"D:\\disc.pdi");
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    SaveAsDialog saveAs;
    const auto press = [&] { ConvertToIso(fields, launcher, dialogs, saveAs); };
    // First use cancelled: the empty name is written, and Yes converts to it.
    dialogs.yes = true;
    press();
    // A name answered No: nothing starts, the field keeps the name.
    dialogs.answers = {u"D:\\Backup\\disc"};
    dialogs.yes = false;
    press();
    EXPECT_EQ(fields.destination, u"D:\\Backup\\disc");
    EXPECT_EQ(launcher.launches,
              (Launches{{u"pdixtract -i \"\" \"D:\\disc.pdi\"", MaximizedActive}}));
    // The next use starts from it, and a cancel there keeps it too.
    fields.destination = u"typed over";
    press();
    EXPECT_EQ(dialogs.saveStartNames, (std::vector<std::u16string>{u"", u"", u"D:\\Backup\\disc"}));
    EXPECT_EQ(fields.destination, u"D:\\Backup\\disc");
    EXPECT_EQ(dialogs.saveFilters,
              (std::vector<FileFilter>{{u"ISO-files", u"*.iso"}, {u"All Files", u"*.*"}}));
}

TEST(ListAndChoose, ListsMinimisedWaitsASecondThenOpensTheWindowOrSaysWhyNot) {
    using enum LaunchResult::Status;
    const struct {
        std::u16string listFile;  // empty: no private folder for it
        LaunchResult::Status status;
        std::vector<std::string> steps;
        std::vector<std::u16string> errors;
    } rows[] = {
        {u"C:\\pdilist.txt", Started, {"launch", "wait 1000", "open, watching pdixtract"}, {}},
        {u"C:\\pdilist.txt", ProgramNotFound, {"launch"}, {u"pdixtract not found"}},
        {u"C:\\pdilist.txt", StartFailed, {"launch"}, {u"pdixtract could not be started"}},
        {u"", Started, {}, {u"No folder for the list of files"}},
    };
    for (const auto& row : rows) {
        FakeMainWindowFields fields(u"E:\\", u"C:\\Sets\\My Movie.pdi");
        RecordingLauncher launcher;
        launcher.status = row.status;
        ScriptedDialogs dialogs;
        RecordingSteps steps;
        launcher.onLaunch = [&steps] { steps.steps.push_back("launch"); };
        ListAndChoose(fields, launcher, dialogs, steps, steps,
                      {row.listFile, [](const std::u16string&) { return kListBefore; }});
        EXPECT_EQ(fields.destination, u"E:");  // tidied whatever follows
        EXPECT_EQ(steps.steps, row.steps);
        EXPECT_EQ(dialogs.errors, row.errors);
        if (row.steps.empty()) continue;
        EXPECT_EQ(
            launcher.launches.at(0),
            (RecordingLauncher::Launch{u"pdixtract -gb C:\\pdilist.txt \"C:\\Sets\\My Movie.pdi\"",
                                       MinimizedActive}));
        // The window learns what the list file was like before the command.
        EXPECT_EQ(steps.stamps, std::vector(row.errors.empty() ? 1 : 0, kListBefore));
    }
}

}  // namespace
}  // namespace zelvorn
