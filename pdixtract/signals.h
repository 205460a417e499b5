// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace pdix {

// Makes interruption (Ctrl+C, kill, a closed terminal window) remove the temporary files
// registered below before the process ends as the signal says, and notes terminal resizes.
void install_signal_handlers();

// Registers path for removal on interruption; returns its slot, or -1 if none is free
// (the file is then only removed by its owner).
int register_temporary(const std::string& path);

// Forgets a slot from register_temporary (-1 is ignored).
void forget_temporary(int slot);

// True once after each change of the terminal's size.
bool take_resize();

}  // namespace pdix
