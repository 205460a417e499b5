// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "window_kit/layout_schema.h"

// The main window, "ZELVORN 0.7", control by control. Listed from the top of
// the drawing order down: the frames lie beneath every other control.
namespace zelvorn::form1 {

inline constexpr WindowLayout kWindow{u"ZELVORN 0.7", 4680, 5970};

using enum ControlKind;
// clang-format off
inline constexpr ControlLayout Command6{"Command6", Button, u"&Convert to Iso", {3600, 3840, 975, 615}, {}, 11, {}};
inline constexpr ControlLayout Command5{"Command5", Button, u"Extract &files", {3600, 4560, 975, 615}, {}, 10, {}};
inline constexpr ControlLayout Check3{"Check3", CheckBox, u"Minimize pdixtract when processing", {120, 1920, 1335, 615}, "Frame3", 13, {}};
inline constexpr ControlLayout Check2{"Check2", CheckBox, u"Create VIDEO_TS directory", {120, 1080, 1455, 615}, "Frame3", 12, {}};
inline constexpr ControlLayout Check1{"Check1", CheckBox, u"Delete PDI-files after processing", {120, 240, 1455, 735}, "Frame3", 9, {}};
inline constexpr ControlLayout Command4{"Command4", Button, u"Browse", {3120, 2400, 1095, 495}, {}, 5, {}};
inline constexpr ControlLayout Text2{"Text2", TextField, {}, {240, 240, 3975, 285}, "Frame2", 7, u"Choose where you want the files to be written"};
inline constexpr ControlLayout Command3{"Command3", Button, u"E&xit", {120, 5280, 975, 615}, {}, 4, {}};
inline constexpr ControlLayout Command2{"Command2", Button, u"&Extract all files", {3600, 5280, 975, 615}, {}, 3, {}};
inline constexpr ControlLayout Text1{"Text1", TextField, {}, {360, 720, 3975, 285}, {}, 1, u"Choose which pdi-set you wish to open"};
inline constexpr ControlLayout Command1{"Command1", Button, u"&Browse", {3120, 1080, 1095, 495}, {}, 0, {}};
inline constexpr ControlLayout Frame3{"Frame3", Frame, u"PDI options:", {1560, 3120, 1695, 2775}, {}, 8, {}};
inline constexpr ControlLayout Frame2{"Frame2", Frame, u"Destination folder:", {120, 1800, 4455, 1215}, {}, 6, {}};
inline constexpr ControlLayout Frame1{"Frame1", Frame, u"Path to .pdi files:", {120, 480, 4455, 1215}, {}, 2, {}};
// clang-format on

// Every control, in drawing order from the top down.
inline constexpr std::array<const ControlLayout*, 14> kControls{
    &Command6, &Command5, &Check3, &Check2,   &Check1, &Command4, &Text2,
    &Command3, &Command2, &Text1,  &Command1, &Frame3, &Frame2,   &Frame1};

}  // namespace zelvorn::form1
