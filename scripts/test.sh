#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what every test needs, builds Zelvorn with its tests and, asked for
# here, the Windows build beside it (build/windows/), and runs all of them:
# unit and window tests headless (offscreen), end-to-end tests under Xvfb, the
# Windows programs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVORN_BUILD_WINDOWS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
