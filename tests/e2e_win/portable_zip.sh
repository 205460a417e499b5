#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Zelvorn-VERSION-win64.zip unpacked into a folder off PATH: Zelvorn.exe finds
# the pdixtract.exe beside it, as Windows looks in a program's own folder first.
source "$(dirname "$0")/lib.sh"
source "$SESSION"
! pdixtract_found || fail "a pdixtract is on PATH already"
rm -rf "$RUN/portable"
unzip -q "$(echo "$ZELVORN_WIN_BUILD"/Zelvorn-*-win64.zip)" -d "$RUN/portable"
for file in README.md LICENSE.txt; do [ -f "$RUN"/portable/*/$file ] || fail "no $file"; done
extract_with "$(echo "$RUN"/portable/*/Zelvorn.exe)"
