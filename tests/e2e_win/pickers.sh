#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both Browse buttons through Wine's own dialogs: a .pdi file chosen in "Open
# File", then folders chosen in "Browse for Folder". A drive root comes back
# as C:\ (typing after it gives C:\Out) and the next action shortens it.
source "$(dirname "$0")/lib.sh"
start
: >"$WINEPREFIX/drive_c/Sets/disc.pdi"
key alt+b
window "Open File" >/dev/null
typ 'C:\Sets\disc.pdi'
key Return
gone "Open File"
# "Browse" has no access key: Tab to it from "&Browse" past the source field
# and "E&xit", or from "&Extract all files" past "E&xit". In the folder tree:
# My Computer, opened, then drive C:, and what the arguments add after the
# tree has forgotten the typed M.
browse() {
    key $1 space
    window "Browse for Folder" >/dev/null
    key shift+Tab M Right Right
    sleep 1
    key "${@:2}" Return
    gone "Browse for Folder"
}
browse 'Tab Tab Tab' Right Right S
key alt+e
expect_call 0 '3|pdixtract -m "C:\Sets" "C:\Sets\disc.pdi"'
browse 'Tab Tab'
key alt+e
expect_call 1 '3|pdixtract -m "C:" "C:\Sets\disc.pdi"'
browse 'Tab Tab'
key Tab End
typ 'Out'
key alt+e
expect_call 2 '3|pdixtract -m "C:\Out" "C:\Sets\disc.pdi"'
quit
