// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "signals.h"

namespace pdix {

namespace {

// Plain arrays, so the handler reads them without allocating or locking.
constexpr int slot_count = 4;
char g_paths[slot_count][PATH_MAX];
std::atomic<bool> g_used[slot_count];
std::atomic<bool> g_resized{false};

void on_interrupt(int sig) {
    for (int i = 0; i < slot_count; ++i) {
        if (g_used[i].load()) ::unlink(g_paths[i]);
    }
    // End as the signal would have ended us, so the parent sees why.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

void on_resize(int) {
    g_resized.store(true);
}

}  // namespace

void install_signal_handlers() {
    struct sigaction sa {};
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = on_interrupt;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &sa, nullptr);
    sa.sa_handler = on_resize;
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGWINCH, &sa, nullptr);
}

int register_temporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < slot_count; ++i) {
        if (g_used[i].load()) continue;
        std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
        g_used[i].store(true);
        return i;
    }
    return -1;
}

void forget_temporary(int slot) {
    if (slot >= 0) g_used[slot].store(false);
}

bool take_resize() {
    return g_resized.exchange(false);
}

}  // namespace pdix
