#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "Extract all files" with the option boxes: each press starts pdixtract with
# the prefix and show value of the boxes as they stand; a drive root E:\ is
# shortened to E: first, and Alt+E of the still disabled button types nothing.
source "$(dirname "$0")/lib.sh"
start
key Tab alt+e
typ 'C:\Sets\My Movie.pdi'
key Tab Tab Tab
typ 'E:\'
#     boxes to toggle  show|command line
rows=(''               '3|pdixtract -m "E:" "C:\Sets\My Movie.pdi"'
      '1 3'            '2|pdixtract -r -m "E:" "C:\Sets\My Movie.pdi"'
      '2'              '2|pdixtract -r -v -m "E:" "C:\Sets\My Movie.pdi"'
      '3'              '3|pdixtract -r -v -m "E:" "C:\Sets\My Movie.pdi"'
      '1'              '3|pdixtract -v -m "E:" "C:\Sets\My Movie.pdi"')
for ((i = 0; i < ${#rows[@]}; i += 2)); do
    for b in ${rows[i]}; do box "$b"; done
    key alt+e
    expect_call $((i / 2)) "${rows[i + 1]}"
done
quit
