#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's session with the real program, keyboard first: a stand-in
# pdixtract records each command it is started with.
source "$(dirname "$0")/lib.sh"
export ZELVORN_E2E_LIST=$WORK/list.txt
printf 'VIDEO_TS.IFO 1\r\nVIDEO_TS.VOB 2\r\nVTS_01_0.IFO 3\r\nVTS_01_1.VOB 4\r\n' >"$ZELVORN_E2E_LIST"
mkdir -p "$WORK/iso" "$WORK/My Out" "$WORK/bin" && touch "$WORK/iso/My Film.iso"

e2e_start "$WORK/bin"
# The source through the Open File dialog (a typed name need not exist); the
# access keys of the disabled buttons type nothing into the field.
key alt+b && dialog_path "Open File" "/sets/My Movie.pdi"
xdotool windowfocus --sync "$MAIN" && key Tab && key alt+e alt+f
# With no pdixtract on the search path, a press says so and nothing starts;
# once there is one, it starts with the drive root shortened.
key Tab Tab Tab && typ 'E:\' && key alt+e
window "pdixtract not found" >/dev/null && key Return && gone "pdixtract not found"
ln -s "$E2E_DIR/stand_in/pdixtract" "$WORK/bin/"
xdotool windowfocus --sync "$MAIN" && key alt+e
expect_call 0 -m "E:" "/sets/My Movie.pdi"
# Shell text in a field stays text, and only pdixtract runs.
key shift+Tab shift+Tab shift+Tab shift+Tab ctrl+a && typ '$(touch pwned) `touch pwned2` | *'
key alt+e
expect_call 1 -m "E:" '$(touch pwned) `touch pwned2` | *'
[ ! -e pwned ] && [ ! -e pwned2 ] && [ ! -e "$HOME/pwned" ] || fail "a shell ran"
key ctrl+a && typ "/sets/My Movie.pdi"

# Convert: a name that exists is taken without a question; answered No,
# nothing starts; the name comes back after a cancel, and Enter is Yes.
key alt+c && dialog_path "Save As" "$WORK/iso/My Film.iso"
window "Warning" >/dev/null && key n && gone "Warning"
xdotool windowfocus --sync "$MAIN" && key alt+c && window "Save As" >/dev/null && key Escape
window "Warning" >/dev/null && key n && gone "Warning"
xdotool windowfocus --sync "$MAIN" && key alt+c && window "Save As" >/dev/null && key Return
window "Warning" >/dev/null && key Return
expect_call 2 -i "$WORK/iso/My Film.iso" "/sets/My Movie.pdi"

# The destination typed over the Convert name, four Tabs on from "Convert to Iso".
xdotool windowfocus --sync "$MAIN" && key Tab Tab Tab Tab ctrl+a && typ "$WORK/My Out"

# Extract files: the list in the private runtime folder, written late: the
# window waits for it and fills itself. Two entries chosen with the keyboard
# in the List files window (Alt+V is nothing there).
touch "$ZELVORN_E2E_LIST.hold"
xdotool windowfocus --sync "$MAIN" && key alt+f
expect_call 3 -gb "$XDG_RUNTIME_DIR/pdilist.txt" "/sets/My Movie.pdi"
list=$(window "List files")
list_shown "$list" && fail "a list before pdixtract wrote one"
rm "$ZELVORN_E2E_LIST.hold"
poll list_shown "$list" || fail "the late list never came"
key Down ctrl+Down ctrl+Down ctrl+space alt+v alt+e
expect_call 4 -m "$WORK/My Out" "/sets/My Movie.pdi" VIDEO_TS.VOB VTS_01_1.VOB
# Alt+X on the main window ends both windows.
expect_exit_on_alt_x
echo "PASS session"
