#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a screenshot of a Zelvorn window under Xvfb.
#   scripts/screenshot.sh ZELVORN_BINARY OUTPUT.png [WINDOW_NAME] [SCALE]
# WINDOW_NAME defaults to the main window; SCALE sets QT_SCALE_FACTOR.
set -euo pipefail
binary=$1 out=$2 name=${3:-ZELVORN 0.7} scale=${4:-1}
if [ -z "${ZELVORN_IN_XVFB:-}" ]; then
    # A screen that grows with the scale, as a high-DPI screen has the pixels.
    screen=$(awk -v s="$scale" 'BEGIN { printf "%dx%d", 1024 * s, 768 * s }')
    ZELVORN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 ${screen}x24" "$0" "$@"
fi
QT_SCALE_FACTOR=$scale "$binary" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^${name}\$" | head -n1)
sleep 0.5  # let the first paint land
import -window "$window" "$out"
