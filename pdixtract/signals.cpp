// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdixtract/signals.h"

#include <atomic>
#include <cstdlib>

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

void HoldOnceForTests() {
    static bool held = false;
    const char* hold = std::getenv("PDIXTRACT_TEST_HOLD");
    if (held || hold == nullptr || *hold == '\0') return;
    held = true;
    HoldHere();
}

}  // namespace pdixtract
