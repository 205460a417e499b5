// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace pdixtract {

// Makes interruption (Ctrl+C, kill, a closed terminal window) remove the temporary files
// registered below before the process ends as the signal says, and notes terminal resizes.
void InstallSignalHandlers();

// Registers path for removal on interruption; returns its slot, or -1 if none is free
// (the file is then only removed by its owner).
int RegisterTemporary(const std::string& path);

// Forgets a slot from RegisterTemporary (-1 is ignored).
void ForgetTemporary(int slot);

// True once after each change of the terminal's size.
bool TakeResize();

// The slots' platform side (signals_posix.cpp, signals_win32.cpp). The handlers run where
// nothing may allocate or lock, so each slot keeps its path ready in the form the call that
// deletes it takes.
inline constexpr int kTemporarySlots = 4;

// Keeps path in slot; false if it is too long to keep.
bool KeepTemporaryPath(int slot, const std::string& path);

// Deletes the file whose path slot keeps.
void DeleteKeptPath(int slot);

// Deletes every registered temporary file; for the handlers.
void RemoveTemporaries();

}  // namespace pdixtract
