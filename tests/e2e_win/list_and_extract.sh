#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "Extract files" asks pdixtract for the list (minimised, whatever the boxes)
# after shortening E:\ to E:, and a second later "List files" shows it, read
# in the ANSI code page. Two entries chosen with the keyboard are extracted
# with the minimise box's style 6. Alt+X then closes both windows.
source "$(dirname "$0")/lib.sh"
start
key Tab
typ 'C:\Sets\My Movie.pdi'
key Tab Tab Tab
typ 'E:\'
box 3
key alt+f
expect_call 0 '2|pdixtract -gb C:\pdilist.txt "C:\Sets\My Movie.pdi"'
list=$(window "List files")
activate "$list"
key Down shift+Down alt+e
expect_call 1 '6|pdixtract -m "E:" "C:\Sets\My Movie.pdi" VIDEO_TS.VOB CAFÉ.VOB'
# Dragged aside by its caption, the list window uncovers the main window.
xdotool mousemove --window "$list" 100 10 mousedown 1 mousemove_relative 400 0 mouseup 1 sleep 0.3
quit
