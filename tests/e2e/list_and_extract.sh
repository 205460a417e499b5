#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user fills both paths and presses Alt+F: the extractor is asked for the
# list in the private runtime folder, the "List files" window opens on it, the
# user selects two entries with the keyboard and presses Alt+E.
source "$(dirname "$0")/lib.sh"
e2e_in_xvfb "$@"
e2e_setup

export XDG_RUNTIME_DIR=$WORK/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export ZELVORN_E2E_LIST=$WORK/list.txt
printf 'VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nVTS_01_0.IFO 8192\r\nVTS_01_1.VOB 2048\r\n' \
    > "$ZELVORN_E2E_LIST"

e2e_start "$E2E_DIR/stand_in"
e2e_key Tab                       # from "&Browse" to the source field
e2e_type "/sets/My Movie.pdi"
e2e_key Tab Tab Tab               # past E&xit and Browse to the destination
e2e_type "/my out"
e2e_key alt+f
e2e_wait_call 0
e2e_expect_call 0 -gb "$XDG_RUNTIME_DIR/pdilist.txt" "/sets/My Movie.pdi"

list_window=$(e2e_wait_window "List files")
[ -n "$list_window" ] || { echo "FAIL: the List files window did not open" >&2; exit 1; }
xdotool windowfocus --sync "$list_window"
e2e_key Down                      # selects the second entry
e2e_key ctrl+Down ctrl+Down       # moves on without selecting
e2e_key ctrl+space                # adds the fourth
e2e_key alt+e
e2e_wait_call 1
e2e_expect_call 1 -m "/my out" "/sets/My Movie.pdi" VIDEO_TS.VOB VTS_01_1.VOB

# The window stays open for another round; Alt+X on the main window ends both.
e2e_expect_running
xdotool search --onlyvisible --name "^List files\$" >/dev/null
xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+x
e2e_expect_exit 0
echo "PASS list_and_extract"
