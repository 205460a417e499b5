#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# With no pdixtract on the search path, Alt+E shows a message and Zelvorn
# keeps running.
source "$(dirname "$0")/lib.sh"
e2e_in_xvfb "$@"
e2e_setup

mkdir "$WORK/empty"
e2e_start "$WORK/empty"
e2e_key Tab
e2e_type "/sets/disc.pdi"
e2e_key Tab Tab Tab
e2e_type "/out"
e2e_key alt+e
message=$(e2e_wait_window "pdixtract not found")
[ -n "$message" ] || { echo "FAIL: no message" >&2; exit 1; }
xdotool windowfocus --sync "$message"
e2e_key Return
sleep 0.5
if xdotool search --onlyvisible --name "^pdixtract not found\$" >/dev/null; then
    echo "FAIL: the message did not close" >&2
    exit 1
fi
e2e_expect_running
xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+x
e2e_expect_exit 0
echo "PASS extractor_missing"
