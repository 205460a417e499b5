// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "window_kit/layout_schema.h"

// The file selection window, "List files", control by control; each
// control's classic name is its object name.
namespace zelvorn::selection_window {

inline constexpr WindowLayout kWindow{u"List files", 5010, 6525};

using enum ControlKind;
// clang-format off
// The names field is never shown: it carries the names text of the last press.
inline constexpr ControlLayout kNamesField{"Text1", TextField, {}, {120, 6000, 3135, 375}, {}, 2, {}};
inline constexpr ControlLayout kExtractButton{"Command2", Button, u"&Extract file(s)", {3600, 5640, 1215, 735}, {}, 1, {}};
inline constexpr ControlLayout kFileList{"List1", List, {}, {120, 480, 4695, 4740}, {}, 0, {}};
inline constexpr ControlLayout kListLabel{"Label1", Label, u"Choose which file(s) you want to extract:", {240, 120, 4215, 255}, {}, 3, {}};
// clang-format on

// Where the window says that the list was shortened: the empty bottom left
// beside the button, over the hidden names field.
inline constexpr TwipsRect kNoticeRect{120, 5340, 3360, 1035};

// Where it says why there is nothing to list yet, or at all: in the list's
// place, which it takes while the list is hidden.
inline constexpr TwipsRect kMessageRect = kFileList.rect;

inline constexpr std::array<const ControlLayout*, 4> kControls{&kNamesField, &kExtractButton,
                                                               &kFileList, &kListLabel};

// The list, named by its heading.
inline constexpr std::array<AccessibleName, 1> kAccessibleNames{
    {{kFileList.name, kListLabel.caption}}};

}  // namespace zelvorn::selection_window
