#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "Convert to Iso" through the real Save As dialog and the FAT32 warning. A
# cancelled first dialog still writes its empty name into the destination,
# which enables "Extract all files", and No starts nothing; the chosen name is
# kept for the next use, and an existing file is not asked about.
source "$(dirname "$0")/lib.sh"
start
key Tab
typ 'C:\Sets\disc.pdi'
: >"$WINEPREFIX/drive_c/disc.iso"
save_as() { key alt+c; window "Save As" >/dev/null; }
warning() { window Warning >/dev/null; key "$1"; }

save_as; key Escape; warning n
key alt+e
expect_call 0 '3|pdixtract -m "" "C:\Sets\disc.pdi"'
box 1; box 3
save_as; typ 'C:\disc.iso'; key Return; warning y
expect_call 1 '2|pdixtract -r -i "C:\disc.iso" "C:\Sets\disc.pdi"'
box 3
save_as; key Return; warning y
expect_call 2 '3|pdixtract -r -i "C:\disc.iso" "C:\Sets\disc.pdi"'
quit
