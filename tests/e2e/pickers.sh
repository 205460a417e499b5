#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user fills both fields through the real dialogs: "&Browse" (Alt+B) with a
# typed name of a file that need not exist, "Browse" with a folder. Extract
# all then carries both paths as the dialogs gave them.
source "$(dirname "$0")/lib.sh"
e2e_in_xvfb "$@"
e2e_setup

mkdir -p "$WORK/My Out"
e2e_start "$E2E_DIR/stand_in"

e2e_key alt+b
open=$(e2e_wait_dialog "Open File")
e2e_type "$WORK/sets/disc.pdi"
e2e_shot open_file "$open"
e2e_key Return
e2e_wait_gone "Open File"

xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+b
e2e_wait_dialog "Open File" >/dev/null
e2e_key Escape  # a cancel keeps the chosen file
e2e_wait_gone "Open File"
# "Browse" has no access key: Tab to it from "&Browse" (past the source
# field and E&xit) and press it with the space bar.
xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key Tab Tab Tab space
folder=$(e2e_wait_dialog "Select a folder")
e2e_shot select_folder "$folder"
e2e_type "$WORK/My Out"
e2e_key Return
e2e_wait_gone "Select a folder"

xdotool windowfocus --sync "$MAIN_WINDOW"
e2e_key alt+e
e2e_wait_call 0
e2e_expect_call 0 -m "$WORK/My Out" "$WORK/sets/disc.pdi"

e2e_key alt+x
e2e_expect_exit 0
echo "PASS pickers"
