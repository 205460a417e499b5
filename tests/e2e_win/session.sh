#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's session with Zelvorn.exe, keyboard first, through Wine's own
# dialogs; the stand-in pdixtract.exe beside it records how it was started.
source "$(dirname "$0")/lib.sh"
# Wine 8 only stubs the screen readers' annotation, but its trace shows each call.
WINEDEBUG=-all,fixme+oleacc start
touch "$WINEPREFIX/drive_c/Sets/"{"My Movie.pdi",film.pdi} "$WINEPREFIX/drive_c/disc Ω.iso"
save_as() { key alt+c && window "Save As" >/dev/null; }
answer() { window Warning >/dev/null && key "$1" && gone Warning; }

# Screen readers: each field named by the label just before it, each Browse
# button by its annotation (PROPID_ACC_NAME) on the button with that caption.
named "ZELVORN 0.7" "Path to .pdi files:" Edit && named "ZELVORN 0.7" "Destination folder:" Edit ||
    fail "a field has no label: $(probe "ZELVORN 0.7")"
for button in "&Browse|Browse for the .pdi set" "Browse|Browse for the destination folder"; do
    handle=$(grep -oP "SetHwndPropStr \(\K\w+(?= 4294967292 0 \{608d3df8-8128-4aa7-a428-f55e49267291\} L\"${button#*|}\")" "$WORK/wine.log") &&
        probe "ZELVORN 0.7" | grep -qi "^Button|${button%|*}|.*|$handle\$" || fail "no name \"${button#*|}\""
done

# The source through the open dialog; in the field, the access keys of the
# still disabled Extract buttons type nothing.
key alt+b && window "Open File" >/dev/null && typ 'C:\Sets\My Movie.pdi' && key Return
gone "Open File" && key Tab alt+e alt+f
# Cancelled and answered No, Convert starts nothing, but the empty name it
# writes into the destination enables "Extract all files".
save_as && key Escape && answer n
key alt+e
expect_call 0 '3|pdixtract -m "" "C:\Sets\My Movie.pdi"'

# The folder browser ("Browse" has no access key, it is two Tabs on): in its
# tree My Computer, opened, then drive C:.
key Tab Tab space && window "Browse for Folder" >/dev/null
key shift+Tab M Right Right Return && gone "Browse for Folder"

# The option boxes read at each press, and their show values: 3, 2 and 6.
box "Create VIDEO_TS directory" && key alt+e
expect_call 1 '3|pdixtract -v -m "C:" "C:\Sets\My Movie.pdi"'
# The list, written late: the window waits for it and fills itself. Read in
# the ANSI code page; two entries chosen with the keyboard.
touch "$WORK/list.hold"
box "Minimize pdixtract when processing" && key alt+f
expect_call 2 '2|pdixtract -gb C:\pdilist.txt "C:\Sets\My Movie.pdi"'
says "List files" "Edit|Waiting for pdixtract to write the list of files to C:\pdilist.txt. It is shown here as soon as it is written."
rm "$WORK/list.hold"
says "List files" "ListBox|"
named "List files" "Choose which file(s) you want to extract:" ListBox || fail "the list has no label"
activate "List files" && key Down shift+Down alt+e
expect_call 3 '6|pdixtract -v -m "C:" "C:\Sets\My Movie.pdi" VIDEO_TS.VOB CAFÉ.VOB'
# With no pdixtract.exe on the search, a press says so, naming where Windows
# looked first (Zelvorn's folder), and starts nothing. The message is the
# list's own: the list takes no press while it is open.
mv "$RUN/app/pdixtract.exe" "$WORK/"
key alt+e && window "pdixtract not found" >/dev/null
message=$(probe "pdixtract not found")
[ "$(sed -n 1p <<<"$message")" = "owner List files" ] || fail "the message is not the list's own: $message"
grep -qF "($("$WINE" winepath -w "$RUN/app" | tr -d '\r'))" <<<"$message" || fail "the message: $message"
key Return && gone "pdixtract not found"
mv "$WORK/pdixtract.exe" "$RUN/app/"

# A name that exists is taken without a question, and kept for the next time;
# one outside the ANSI code page reaches the command line whole.
printf %s 'C:\disc Ω.iso' | xclip -selection clipboard &>/dev/null
box "Delete PDI-files after processing" && save_as && key ctrl+v Return && answer y
expect_call 4 '2|pdixtract -r -i "C:\disc Ω.iso" "C:\Sets\My Movie.pdi"'
box "Minimize pdixtract when processing" && save_as && key Return && answer y
expect_call 5 '3|pdixtract -r -i "C:\disc Ω.iso" "C:\Sets\My Movie.pdi"'

# A file dragged from a Linux program onto the source field (X drag and drop,
# which Wine hands on as WM_DROPFILES): from the middle of the drag source to
# the middle of the field's rectangle (WxH+X+Y), let go once Wine takes it.
activate "List files" && key alt+F4 && gone "List files"
"$DRAG_SOURCE" "$WINEPREFIX/drive_c/Sets/film.pdi" &>/dev/null &
drag=$!
eval "$(xdotool getwindowgeometry --shell "$(window "drag source")")"
read -r x y < <(probe "ZELVORN 0.7" | awk -F'|' '$1 == "Edit" { split($3, r, /[x+]/); print r[3] + int(r[1] / 2), r[4] + int(r[2] / 2); exit }')
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) mousedown 1 mousemove --sync "$x" "$y"
window "drag taken" >/dev/null && xdotool mouseup 1
says "ZELVORN 0.7" 'Edit|C:\Sets\film.pdi' && kill "$drag"

# A list command that fails: the window, opened anew, says why, and waits no more.
touch "$WORK/list.fail"
activate "ZELVORN 0.7" && key alt+f
expect_call 6 '2|pdixtract -gb C:\pdilist.txt "C:\Sets\film.pdi"'
says "List files" "Edit|No list of files: pdixtract has ended without writing C:\pdilist.txt: a file of the set is missing or cannot be opened (exit status 3)."
quit

# Without Windows' comdlg32 the Open File dialog cannot come up: a message says so.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;comdlg32=" start
key alt+b && window "Dialog not available" >/dev/null && key Return && gone "Dialog not available"
quit
