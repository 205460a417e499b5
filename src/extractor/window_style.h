#pragma once

// How the extractor's window is shown. The values are the classic show-window
// numbers, kept as numbers so callers and tests speak the same language.
enum class WindowStyle : int {
    MinimizedActive = 2,
    MaximizedActive = 3,
    MinimizedInactive = 6,
};
