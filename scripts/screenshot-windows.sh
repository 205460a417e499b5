#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of Zelvorn.exe's two windows under Wine, for the README:
# docs/main-window-windows.png and docs/list-files-windows.png. The list is
# the one the tests' stand-in pdixtract.exe writes.
#   scripts/screenshot-windows.sh [WINDOWS_BUILD_DIR]   (default build-win)
set -euo pipefail
cd "$(dirname "$0")/.."
ZELVORN_WIN_BUILD=$(realpath "${1:-build-win}")
ZELVORN_WIN_SESSION=$(mktemp)
export ZELVORN_WIN_BUILD ZELVORN_WIN_SESSION
AT_EXIT='bash tests/e2e_win/lib.sh stop'
trap '$AT_EXIT' EXIT
bash tests/e2e_win/lib.sh start
source tests/e2e_win/lib.sh
start
key Tab
typ 'C:\Sets\My Movie.pdi'
key Tab Tab Tab
typ 'D:\Extracted'
box "Minimize pdixtract when processing"
activate "ZELVORN 0.7"
sleep 0.5
import -window "$(window "ZELVORN 0.7")" docs/main-window-windows.png
key alt+f
activate "List files"
key Down shift+Down
sleep 0.5
import -window "$(window "List files")" docs/list-files-windows.png
echo "wrote docs/main-window-windows.png and docs/list-files-windows.png"
