#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Zelvorn.exe with Debian's mingw-w64 into build-win/ (with the
# stand-in pdixtract.exe of the Wine tests and the start-up benchmark):
#   bash scripts/build-windows.sh [cmake options]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-win -j"$(nproc)"
echo "built $(pwd)/build-win/src/Zelvorn.exe"
