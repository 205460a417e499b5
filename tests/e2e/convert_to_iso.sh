#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user names the source, presses Alt+C, types the name of an ISO file that
# already exists into the Save As dialog and confirms (no question about
# replacing it), then takes the FAT32 warning's default (Yes) with Enter: the
# extractor is asked for the conversion. The name comes back in the next
# Save As dialog, after a cancel as after a confirmation.
source "$(dirname "$0")/lib.sh"
e2e_in_xvfb "$@"
e2e_setup

mkdir "$WORK/iso"
touch "$WORK/iso/My Film.iso"
cd "$WORK/iso"  # the first Save As dialog opens in the working folder
e2e_start "$E2E_DIR/stand_in"
e2e_key Tab  # from "&Browse" to the source field
e2e_type "/sets/My Movie.pdi"

e2e_key alt+c
save=$(e2e_wait_dialog "Save As")
e2e_type "My Film.iso"
e2e_shot save_as "$save"
e2e_key Return
warning=$(e2e_wait_dialog "Warning")
e2e_shot warning "$warning"
e2e_key Return
e2e_wait_gone "Warning"
e2e_wait_call 0
e2e_expect_call 0 -i "$WORK/iso/My Film.iso" "/sets/My Movie.pdi"

# Cancelled with Escape, then No: nothing is started.
xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+c
save=$(e2e_wait_dialog "Save As")
e2e_shot save_as_again "$save"
e2e_key Escape
e2e_wait_dialog "Warning" >/dev/null
e2e_key n
e2e_wait_gone "Warning"

# Confirmed as it comes up, then Yes: the same name once more.
xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+c
e2e_wait_dialog "Save As" >/dev/null
e2e_key Return
e2e_wait_dialog "Warning" >/dev/null
e2e_key Return
e2e_wait_call 1
e2e_expect_call 1 -i "$WORK/iso/My Film.iso" "/sets/My Movie.pdi"
sleep 0.5
[ ! -e "$ZELVORN_E2E_RECORDS/call.2" ] || { echo "FAIL: the No answer started pdixtract" >&2; exit 1; }

e2e_expect_running
xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+x
e2e_expect_exit 0
echo "PASS convert_to_iso"
