// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/launcher.h"

namespace zelvorn {

// One entry of a file dialog's type list: the text the user reads and the
// pattern of the files it shows.
struct FileFilter {
    std::u16string description;
    std::u16string pattern;

    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// What an open-file dialog shows when it comes up.
struct OpenFileRequest {
    std::u16string title;
    std::vector<FileFilter> filters;  // in the order shown; the first is selected
    std::u16string startFolder;

    friend bool operator==(const OpenFileRequest&, const OpenFileRequest&) = default;
};

// The modal questions and messages the windows put to the user, behind one
// seam so tests can answer them without a person at the keyboard.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows an error message with an OK button and waits until it is closed.
    virtual void showError(const std::u16string& title, const std::u16string& text) = 0;
    // Asks for one file to open; a typed name of a file that does not exist is
    // accepted. Returns the chosen path, or nothing when the user cancelled.
    virtual std::optional<std::u16string> chooseFileToOpen(const OpenFileRequest& request) = 0;
    // Asks for a folder in a browser that starts afresh every time. Returns the
    // chosen folder's path, or nothing when cancelled or when the choice has
    // no path in the file system.
    virtual std::optional<std::u16string> chooseFolder(const std::u16string& title) = 0;
    // A Save As dialog that starts with `startName` filled in (empty: none),
    // never asks about overwriting and adds no extension. Returns the name the
    // user confirmed, or nothing when cancelled.
    virtual std::optional<std::u16string> chooseFileToSave(
        const std::u16string& startName, const std::vector<FileFilter>& filters) = 0;
    // Asks a question with the buttons Yes and No, Yes the default, no icon.
    // True only for Yes.
    virtual bool askYesNo(const std::u16string& title, const std::u16string& text) = 0;
};

// True when the extractor `launcher` started has started; otherwise tells the
// user why not and returns false, so the action can stop there.
bool StartedOrReported(const LaunchResult& result, const Launcher& launcher, Dialogs& dialogs);

// Starts `commandLine` and tells the user when the extractor could not be
// started; false then.
bool LaunchOrReport(Launcher& launcher, Dialogs& dialogs, std::u16string_view commandLine,
                    WindowStyle style);

}  // namespace zelvorn
