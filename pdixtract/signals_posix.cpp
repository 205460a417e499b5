// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "pdixtract/signals.h"

namespace pdixtract {

namespace {

char g_paths[kTemporarySlots][PATH_MAX];
std::atomic<bool> g_resized{false};

void OnInterrupt(int sig) {
    RemoveTemporaries();
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

bool KeepTemporaryPath(int slot, const std::string& path) {
    if (path.size() >= PATH_MAX) return false;
    std::memcpy(g_paths[slot], path.c_str(), path.size() + 1);
    return true;
}

void DeleteKeptPath(int slot) {
    ::unlink(g_paths[slot]);
}

bool TakeResize() {
    return g_resized.exchange(false);
}

}  // namespace pdixtract
