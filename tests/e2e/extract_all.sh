#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user types both paths and presses Alt+E: the extractor is started with
# the composed arguments. The access keys of disabled buttons type nothing.
source "$(dirname "$0")/lib.sh"
e2e_in_xvfb "$@"
e2e_setup

e2e_start "$E2E_DIR/stand_in"
e2e_key Tab                       # from "&Browse" to the source field
e2e_type "/sets/My Movie.pdi"
e2e_key alt+e alt+f               # disabled: no press, and no letter typed into the field
e2e_key Tab Tab Tab               # past E&xit and Browse to the destination
e2e_type 'E:\'
e2e_key alt+e
e2e_wait_call 0
e2e_expect_call 0 -m "E:" "/sets/My Movie.pdi"

e2e_key shift+Tab shift+Tab shift+Tab shift+Tab  # back to the source field (Text2, Browse, Exit, Text1)
e2e_key ctrl+a
e2e_type '; touch pwned $(touch pwned2) `touch pwned3` | true'
e2e_key alt+e
e2e_wait_call 1
e2e_expect_call 1 -m "E:" '; touch pwned $(touch pwned2) `touch pwned3` | true'
[ ! -e pwned ] && [ ! -e pwned2 ] && [ ! -e pwned3 ] && [ ! -e "$HOME/pwned" ]

e2e_expect_running
e2e_key alt+x
e2e_expect_exit 0
echo "PASS extract_all"
