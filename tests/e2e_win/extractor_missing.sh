#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a pdixtract.exe anywhere on the search, "Extract all files" and
# "Extract files" each say so in a message and start nothing; no list window
# opens and the program keeps running.
source "$(dirname "$0")/lib.sh"
start bare
key Tab
typ 'C:\Sets\disc.pdi'
key Tab Tab Tab
typ 'D:\Out'
for press in alt+e alt+f; do
    key "$press"
    window "pdixtract not found" >/dev/null
    key Return
    gone "pdixtract not found"
done
! xdotool search --onlyvisible --name '^List files$' >/dev/null || fail "a list window opened"
quit
