#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Zelvorn, pdixtract and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer (Debian's clang) in build-sanitize/ and runs the
# Linux tests there (a plain build: no Windows build, so no Wine tests). Any
# sanitizer report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh sanitize
# Windows stays out even where an older folder still caches it on.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DZELVORN_SANITIZE=ON -DZELVORN_BUILD_BENCH=OFF -DZELVORN_BUILD_WINDOWS=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)"
# The build label checks the build scripts, not the code: nothing to sanitize.
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" -LE "^build$"
