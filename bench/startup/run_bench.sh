#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the start-up and press-to-launch benchmarks on a real X server: the
# current display, or Xvfb when there is none.
#   run_bench.sh STARTUP_BENCH ZELVORN_PROBE FLOOR_PROBE PRESS_BENCH [ROUNDS]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM
# Qt's own look on every machine, so both programs load the same plugins.
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
"$1" "${5:-21}" "$2" "$3"
echo
"$4"
