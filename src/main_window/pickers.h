// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "actions/dialogs.h"

namespace zelvorn {

// The open-file dialog of the source's "&Browse": the same fresh request on
// every press, starting in `rootFolder` ("C:\" on Windows, "/" elsewhere).
OpenFileRequest SourceFileRequest(std::u16string_view rootFolder);

// The title of the destination's folder browser.
inline constexpr std::u16string_view kFolderBrowserTitle = u"Select a folder";

// What the source field receives for a chosen file: the path without the
// blanks at either end (the dialog's buffer starts full of blanks).
std::u16string SourceFieldText(std::u16string_view chosen);

// What the destination field receives for a chosen folder: the path without
// trailing slashes, except that the root itself stays "/". A drive root
// such as "E:\" stays as it is, for the drive-root rule to shorten.
std::u16string DestinationFieldText(std::u16string_view chosen);

// The main window's two path fields, as drop targets.
enum class DropTarget { SourceField, DestinationField };

// What a path names on the local file system.
enum class PathKind { NotLocal, Missing, File, Folder };

// One item of a drop, or one path on the command line, as the platform
// describes it.
struct PathItem {
    std::u16string path;  // absolute; empty for an item that is not a local path
    PathKind kind = PathKind::NotLocal;
};

// What a field receives when `items` are dropped onto it, as its Browse
// button would give it: one existing file onto the source field gives its
// path, one folder onto the destination field gives its path as the folder
// picker writes it. Anything else (a folder onto the source, a file onto the
// destination, several items, something that is not a local path or does not
// exist) gives nothing, and the field stays as it is: a field holds one path,
// and guessing which of several was meant would lose data.
std::optional<std::u16string> DroppedFieldText(DropTarget target, std::span<const PathItem> items);

// What the program does at start with the paths it was given, by a file
// manager's "Open" or on a command line: one file fills the source field as
// its Browse button would (the rule of a drop onto it); anything else is
// explained, and the window opens with the field as it is.
struct StartDecision {
    std::optional<std::u16string> sourcePath;
    std::u16string title;  // of the explanation; empty when there is nothing to say
    std::u16string text;

    friend bool operator==(const StartDecision&, const StartDecision&) = default;
};
StartDecision DecideStart(std::span<const PathItem> arguments);

}  // namespace zelvorn
