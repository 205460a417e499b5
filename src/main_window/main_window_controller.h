// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "actions/button_states.h"
#include "actions/convert_to_iso.h"
#include "actions/list_and_choose.h"
#include "main_window/layout.h"
#include "main_window/pickers.h"

namespace zelvorn {

// The main window as its handlers see it: the fields and boxes, and the few
// things only the window itself can do.
class MainWindowView : public MainWindowFields {
public:
    // Replaces the source field's text; runs the field's change handler like
    // a user edit, even when the text stays the same.
    virtual void setSourcePath(const std::u16string& path) = 0;
    // Lets the three action buttons take presses, or not.
    virtual void showButtonStates(const ActionButtonStates& states) = 0;
    // Ends the program at once: every window closes, the file selection
    // window included; extractors already started keep running.
    virtual void quit() = 0;
};

// What the main window works with beyond its own controls.
struct MainWindowSeams {
    Launcher& launcher;
    Dialogs& dialogs;
    Wait& wait;                              // the pause of "Extract files"
    SelectionWindowOpener& selectionWindow;  // the "List files" window
    ListFileLocation listFile;
    std::u16string_view rootFolder;  // where the open dialog starts: "C:\" or "/"
};

// What the main window's controls do, the same for every skin: each skin
// forwards its control events here and applies what comes back through
// MainWindowView.
class MainWindowController {
public:
    MainWindowController(MainWindowView& view, const MainWindowSeams& seams);

    // The window was made, before it is first shown.
    void onLoad();
    // The window is shown: opens the set the program was started with, or
    // says why it cannot.
    void onStart(std::span<const PathItem> arguments);
    // Any write to a field, by the user or by the program.
    void onSourceChanged();
    void onDestinationChanged();

    void onBrowseSource();       // "&Browse"
    void onBrowseDestination();  // "Browse"
    void onExtractAll();         // "&Extract all files"
    void onExtractFiles();       // "Extract &files"
    void onConvertToIso();       // "&Convert to Iso"
    void onExit();               // "E&xit"

    // Whether dropping `items` onto `target` would fill it; tells the
    // pointer what to show before the user lets go.
    bool acceptsDrop(DropTarget target, std::span<const PathItem> items) const;
    // Fills the field as its Browse button would; false when the drop is refused.
    bool onDrop(DropTarget target, std::span<const PathItem> items);

    const ActionButtonStates& buttonStates() const { return m_buttons; }

private:
    void updateButtons(FieldEvent event);

    MainWindowView& m_view;
    MainWindowSeams m_seams;
    // The Save As dialog of "&Convert to Iso", kept for the whole run: its
    // name is the next use's starting name.
    SaveAsDialog m_saveAsDialog;
    ActionButtonStates m_buttons;
};

// Which handler a press of each push button runs, the button named by its
// object name: both skins wire their buttons from this one table.
struct PressHandler {
    std::string_view control;
    void (MainWindowController::*handler)();
};
inline constexpr std::array<PressHandler, 6> kPressHandlers{{
    {main_window::kSourceBrowseButton.name, &MainWindowController::onBrowseSource},
    {main_window::kDestinationBrowseButton.name, &MainWindowController::onBrowseDestination},
    {main_window::kExtractAllButton.name, &MainWindowController::onExtractAll},
    {main_window::kExtractFilesButton.name, &MainWindowController::onExtractFiles},
    {main_window::kConvertToIsoButton.name, &MainWindowController::onConvertToIso},
    {main_window::kExitButton.name, &MainWindowController::onExit},
}};

}  // namespace zelvorn
