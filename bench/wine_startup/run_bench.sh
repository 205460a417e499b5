#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times Zelvorn.exe's start beside the floor under Wine, in a Wine prefix and
# an X server of its own (those of the Wine tests):
#   bash bench/wine_startup/run_bench.sh [WINDOWS_BUILD_DIR (build-win)] [ROUNDS (21)]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build-win}")
ZELVORN_WIN_SESSION=$(mktemp)
export ZELVORN_WIN_BUILD=$build ZELVORN_WIN_SESSION
trap 'bash tests/e2e_win/lib.sh stop' EXIT
bash tests/e2e_win/lib.sh start
# shellcheck disable=SC1090
source "$ZELVORN_WIN_SESSION"
cp "$build/bench/wine_startup/floor_window.exe" "$build/bench/wine_startup/startup_bench.exe" "$RUN/"
WINEDEBUG=-all "${WINE:-/usr/lib/wine/wine64}" "$RUN/startup_bench.exe" "${2:-21}" "$RUN/app/Zelvorn.exe" \
    "$RUN/floor_window.exe"
