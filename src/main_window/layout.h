// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "window_kit/layout_schema.h"

// The main window, "ZELVORN 0.7", control by control. Listed from the top of
// the drawing order down: the frames lie beneath every other control. Each
// control's classic name is its object name, by which tests and
// accessibility tools find it.
namespace zelvorn::main_window {

inline constexpr WindowLayout kWindow{u"ZELVORN 0.7", 4680, 5970};

using enum ControlKind;
// clang-format off
inline constexpr ControlLayout kConvertToIsoButton{"Command6", Button, u"&Convert to Iso", {3600, 3840, 975, 615}, {}, 11, {}};
inline constexpr ControlLayout kExtractFilesButton{"Command5", Button, u"Extract &files", {3600, 4560, 975, 615}, {}, 10, {}};
inline constexpr ControlLayout kMinimizeBox{"Check3", CheckBox, u"Minimize pdixtract when processing", {120, 1920, 1335, 615}, "Frame3", 13, {}};
inline constexpr ControlLayout kVideoTsBox{"Check2", CheckBox, u"Create VIDEO_TS directory", {120, 1080, 1455, 615}, "Frame3", 12, {}};
inline constexpr ControlLayout kDeleteAfterBox{"Check1", CheckBox, u"Delete PDI-files after processing", {120, 240, 1455, 735}, "Frame3", 9, {}};
inline constexpr ControlLayout kDestinationBrowseButton{"Command4", Button, u"Browse", {3120, 2400, 1095, 495}, {}, 5, {}};
inline constexpr ControlLayout kDestinationField{"Text2", TextField, {}, {240, 240, 3975, 285}, "Frame2", 7, u"Choose where you want the files to be written"};
inline constexpr ControlLayout kExitButton{"Command3", Button, u"E&xit", {120, 5280, 975, 615}, {}, 4, {}};
inline constexpr ControlLayout kExtractAllButton{"Command2", Button, u"&Extract all files", {3600, 5280, 975, 615}, {}, 3, {}};
inline constexpr ControlLayout kSourceField{"Text1", TextField, {}, {360, 720, 3975, 285}, {}, 1, u"Choose which pdi-set you wish to open"};
inline constexpr ControlLayout kSourceBrowseButton{"Command1", Button, u"&Browse", {3120, 1080, 1095, 495}, {}, 0, {}};
inline constexpr ControlLayout kOptionsFrame{"Frame3", Frame, u"PDI options:", {1560, 3120, 1695, 2775}, {}, 8, {}};
inline constexpr ControlLayout kDestinationFrame{"Frame2", Frame, u"Destination folder:", {120, 1800, 4455, 1215}, {}, 6, {}};
inline constexpr ControlLayout kSourceFrame{"Frame1", Frame, u"Path to .pdi files:", {120, 480, 4455, 1215}, {}, 2, {}};
// clang-format on

// Every control, in drawing order from the top down.
inline constexpr std::array<const ControlLayout*, 14> kControls{
    &kConvertToIsoButton, &kExtractFilesButton, &kMinimizeBox,
    &kVideoTsBox,         &kDeleteAfterBox,     &kDestinationBrowseButton,
    &kDestinationField,   &kExitButton,         &kExtractAllButton,
    &kSourceField,        &kSourceBrowseButton, &kOptionsFrame,
    &kDestinationFrame,   &kSourceFrame};

// The fields, named by their frames, and the two Browse buttons, which
// would both read "Browse".
inline constexpr std::array<AccessibleName, 4> kAccessibleNames{{
    {kSourceField.name, kSourceFrame.caption},
    {kDestinationField.name, kDestinationFrame.caption},
    {kSourceBrowseButton.name, u"Browse for the .pdi set"},
    {kDestinationBrowseButton.name, u"Browse for the destination folder"},
}};

}  // namespace zelvorn::main_window
