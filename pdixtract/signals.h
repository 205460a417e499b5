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

}  // namespace pdixtract
