#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Zelvorn-VERSION-setup.exe /S installs both programs into Program Files, with
# a Start menu entry, an "Apps and features" entry and the folder on the
# user's PATH; the installed Zelvorn.exe extracts with the installed
# pdixtract.exe; uninstall.exe /S takes all of it away and gives PATH back.
source "$(dirname "$0")/lib.sh"
source "$SESSION"
dir="$WINEPREFIX/drive_c/Program Files/Zelvorn"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelvorn.lnk"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvorn'
# A PATH of the user's own, which the installer extends and the uninstaller gives back.
"$WINE" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\Tools' /f >/dev/null 2>&1
path_before=$(user_path)
"$WINE" "$(echo "$ZELVORN_WIN_BUILD"/Zelvorn-*-setup.exe)" /S || fail "the installer failed"
[ -f "$link" ] || fail "no Start menu entry"
shown=$("$WINE" reg query "$entry" 2>/dev/null | tr -d '\r')
for value in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString; do
    grep -q " $value " <<<"$shown" || fail "the uninstall entry has no $value: $shown"
done
pdixtract_found || fail "pdixtract is not found on PATH"
extract_with "$dir/Zelvorn.exe"

"$WINE" "C:\\Program Files\\Zelvorn\\uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself in the temporary folder.
for _ in $(seq 100); do [ -e "$dir" ] || [ -e "$link" ] || break; sleep 0.1; done
[ ! -e "$dir" ] && [ ! -e "$link" ] || fail "left behind: $(ls "$dir" "$link" 2>&1)"
! "$WINE" reg query "$entry" >/dev/null 2>&1 || fail "the uninstall entry stayed"
[ "$(user_path)" = "$path_before" ] || fail "PATH was not given back: $(user_path)"
