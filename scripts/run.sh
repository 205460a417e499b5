#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and running need, builds Zelvorn and our pdixtract
# (Linux only, no tests) and starts Zelvorn with that pdixtract on the search
# path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh run
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZELVORN_BUILD_TESTS=OFF -DZELVORN_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: start Zelvorn under Xvfb instead with: xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
PATH="$PWD/build-release/pdixtract:$PATH" exec build-release/src/zelvorn
