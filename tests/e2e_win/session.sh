#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's session with Zelvorn.exe, keyboard first, through Wine's own
# dialogs; the stand-in pdixtract.exe beside it records how it was started.
source "$(dirname "$0")/lib.sh"
start
touch "$WINEPREFIX/drive_c/Sets/My Movie.pdi" "$WINEPREFIX/drive_c/disc.iso"
save_as() { key alt+c && window "Save As" >/dev/null; }
answer() { window Warning >/dev/null && key "$1" && gone Warning; }

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
# With no pdixtract.exe on the search, a press says so and starts nothing;
# C:\ is shortened to C: first.
mv "$RUN/app/pdixtract.exe" "$WORK/"
key alt+f && window "pdixtract not found" >/dev/null && key Return && gone "pdixtract not found"
mv "$WORK/pdixtract.exe" "$RUN/app/"

# The option boxes read at each press, and their show values: 3, 2 and 6.
box 2 && key alt+e
expect_call 1 '3|pdixtract -v -m "C:" "C:\Sets\My Movie.pdi"'
hidden 'List files' || fail "a list opened without pdixtract"
# The list, written late: the window waits for it and fills itself. Read in
# the ANSI code page; two entries chosen with the keyboard.
touch "$WORK/list.hold"
box 3 && key alt+f
expect_call 2 '2|pdixtract -gb C:\pdilist.txt "C:\Sets\My Movie.pdi"'
list=$(window "List files")
says "List files" "Edit: Waiting for pdixtract to write the list of files to C:\pdilist.txt. It is shown here as soon as it is written."
rm "$WORK/list.hold"
says "List files" "ListBox: "
activate "$list" && key Down shift+Down alt+e
expect_call 3 '6|pdixtract -v -m "C:" "C:\Sets\My Movie.pdi" VIDEO_TS.VOB CAFÉ.VOB'
aside "$list" && activate "$MAIN"

# A name that exists is taken without a question, and kept for the next time.
box 1 && save_as && typ 'C:\disc.iso' && key Return && answer y
expect_call 4 '2|pdixtract -r -i "C:\disc.iso" "C:\Sets\My Movie.pdi"'
box 3 && save_as && key Return && answer y
expect_call 5 '3|pdixtract -r -i "C:\disc.iso" "C:\Sets\My Movie.pdi"'

# A list command that fails: the window, opened anew, says why, and waits no more.
activate "$list" && key alt+F4 && gone "List files"
echo 3 >"$WORK/list.fail"
activate "$MAIN" && key alt+f
expect_call 6 '2|pdixtract -gb C:\pdilist.txt "C:\Sets\My Movie.pdi"'
says "List files" "Edit: No list of files: pdixtract has ended without writing C:\pdilist.txt: a file of the set is missing or cannot be opened (exit status 3)."
aside "$(window "List files")" && quit
