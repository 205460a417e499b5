// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "pdixtract/signals.h"

namespace pdixtract {

namespace {

// Plain arrays, so the handler reads them without allocating or locking.
constexpr int kSlotCount = 4;
char g_paths[kSlotCount][PATH_MAX];
std::atomic<bool> g_used[kSlotCount];
std::atomic<bool> g_resized{false};

void OnInterrupt(int sig) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (g_used[i].load()) ::unlink(g_paths[i]);
    }
    // End as the signal would have ended us, so the parent sees why.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

void OnResize(int) {
    g_resized.store(true);
}

}  // namespace

void InstallSignalHandlers() {
    struct sigaction sa {};
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = OnInterrupt;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &sa, nullptr);
    sa.sa_handler = OnResize;
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGWINCH, &sa, nullptr);
}

int RegisterTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        if (g_used[i].load()) continue;
        std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
        g_used[i].store(true);
        return i;
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot >= 0) g_used[slot].store(false);
}

bool TakeResize() {
    return g_resized.exchange(false);
}

}  // namespace pdixtract
