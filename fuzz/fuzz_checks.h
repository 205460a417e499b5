// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Ends the fuzz run, saying what went wrong, unless ok.
inline void Require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Stores `data` as a set of up to three member files (its first byte picks the split; the
// rest is the image from its first volume descriptor on, the empty system area is added),
// then lists it and extracts it the way pdixtract does. Returns what went wrong, or nullptr:
// any exit status a bad image may cause is fine. The tests replay the stored inputs with it.
const char* CheckImageSet(const std::uint8_t* data, std::size_t size);
