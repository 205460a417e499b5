#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the cross-build needs, then cross-builds Zelvorn.exe and
# pdixtract.exe with Debian's mingw-w64 into build-win/, and from them the
# installer and the portable zip (with the stand-in pdixtract.exe of the Wine
# tests and the start-up benchmark). The first build fetches Debian's sources
# of the libraries pdixtract.exe links.
#   bash scripts/build-windows.sh [cmake options]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh windows
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-win -j"$(nproc)"
for built in build-win/src/Zelvorn.exe build-win/pdixtract/pdixtract.exe \
    build-win/Zelvorn-*-setup.exe build-win/Zelvorn-*-win64.zip; do
    if [ -f "$built" ]; then echo "built $(pwd)/$built"; fi
done
