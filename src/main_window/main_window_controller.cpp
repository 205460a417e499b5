// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window_controller.h"

#include "actions/extract_all.h"

namespace zelvorn {

MainWindowController::MainWindowController(MainWindowView& view, const MainWindowSeams& seams)
    : m_view(view), m_seams(seams) {}

void MainWindowController::updateButtons(FieldEvent event) {
    m_buttons = ButtonStatesAfter(event, m_buttons, m_view.sourcePath(), m_view.destinationPath());
    m_view.showButtonStates(m_buttons);
}

void MainWindowController::onLoad() {
    updateButtons(FieldEvent::Loaded);
}

void MainWindowController::onStart(std::span<const PathItem> arguments) {
    const StartDecision start = DecideStart(arguments);
    if (start.sourcePath) {
        m_view.setSourcePath(*start.sourcePath);
    } else if (!start.title.empty()) {
        m_seams.dialogs.showError(start.title, start.text);
    }
}

void MainWindowController::onSourceChanged() {
    updateButtons(FieldEvent::SourceChanged);
}

void MainWindowController::onDestinationChanged() {
    updateButtons(FieldEvent::DestinationChanged);
}

void MainWindowController::onBrowseSource() {
    if (const auto chosen =
            m_seams.dialogs.chooseFileToOpen(SourceFileRequest(m_seams.rootFolder))) {
        m_view.setSourcePath(SourceFieldText(*chosen));
    }
}

void MainWindowController::onBrowseDestination() {
    if (const auto chosen = m_seams.dialogs.chooseFolder(std::u16string(kFolderBrowserTitle))) {
        m_view.setDestinationPath(DestinationFieldText(*chosen));
    }
}

void MainWindowController::onExtractAll() {
    ExtractAll(m_view, m_seams.launcher, m_seams.dialogs);
}

void MainWindowController::onExtractFiles() {
    ListAndChoose(m_view, m_seams.launcher, m_seams.dialogs, m_seams.wait, m_seams.selectionWindow,
                  m_seams.listFile);
}

void MainWindowController::onConvertToIso() {
    ConvertToIso(m_view, m_seams.launcher, m_seams.dialogs, m_saveAsDialog);
}

void MainWindowController::onExit() {
    m_view.quit();
}

bool MainWindowController::acceptsDrop(DropTarget target, std::span<const PathItem> items) const {
    return DroppedFieldText(target, items).has_value();
}

bool MainWindowController::onDrop(DropTarget target, std::span<const PathItem> items) {
    const auto text = DroppedFieldText(target, items);
    if (!text) return false;
    if (target == DropTarget::SourceField) {
        m_view.setSourcePath(*text);
    } else {
        m_view.setDestinationPath(*text);
    }
    return true;
}

}  // namespace zelvorn
