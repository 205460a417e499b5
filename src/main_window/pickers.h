// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

}  // namespace zelvorn
