// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/signals.h"

#include <atomic>

namespace pdixtract {

namespace {

// Plain flags, so the handlers read them without allocating or locking.
std::atomic<bool> g_used[kTemporarySlots];

}  // namespace

int RegisterTemporary(const std::string& path) {
    for (int i = 0; i < kTemporarySlots; ++i) {
        if (g_used[i].load()) continue;
        if (!KeepTemporaryPath(i, path)) return -1;
        g_used[i].store(true);
        return i;
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot >= 0) g_used[slot].store(false);
}

void RemoveTemporaries() {
    for (int i = 0; i < kTemporarySlots; ++i) {
        if (g_used[i].load()) DeleteKeptPath(i);
    }
}

}  // namespace pdixtract
