#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The zip and the installer. Unpacked off PATH, the zip's Zelvorn.exe finds
# our real pdixtract.exe beside it and extracts with it, as the installed one does. The installer /S puts
# both into Program Files, with a Start menu entry, an "Apps and features" entry
# and the folder on the user's PATH; uninstall.exe /S takes all of it away.
source "$(dirname "$0")/lib.sh"
# shellcheck disable=SC1090
source "$SESSION"
# The user's PATH as the registry holds it, for Windows programs started later.
user_path() { "$WINE" reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | grep Path || true; }
# True if a command prompt in C:\ finds a pdixtract (it answers --help).
pdixtract_found() { (cd "$WINEPREFIX/drive_c" && "$WINE" cmd /c 'pdixtract --help' 2>&1) | grep -q Usage; }
# Waits for the files of the set in $DATA/out, byte for byte, and clears it.
extracted() {
    poll diff -r "$DATA/src" "$DATA/out" &>/dev/null || fail "$1 wrote: $(ls "$DATA/out" 2>&1)"
    rm -r "$DATA/out"
}
# Starts the Zelvorn.exe at $1 and extracts the set with both actions.
extract_with() {
    start "$1"
    key Tab && typ "Z:${DATA//\//\\}\\set\\disc.pdi"
    key Tab Tab Tab && typ "Z:${DATA//\//\\}\\out" && key alt+e
    extracted "Extract all files"
    activate "$MAIN" && key alt+f  # pdixtract's console window took the focus
    list=$(window "List files")
    activate "$list" && key End shift+Home alt+e
    extracted "Extract files"
    aside "$list" && quit
}

! pdixtract_found || fail "a pdixtract is on PATH already"
# A set of two members: a file running from the first into the second, a name
# in the ANSI code page.
DATA=$RUN/packages
rm -rf "$DATA" && mkdir -p "$DATA/src" "$DATA/set"
head -c 300000 /dev/urandom >"$DATA/src/CROSSES.VOB"
printf 'crème' >"$DATA/src/Café.txt"
xorriso -as mkisofs -quiet -R -J -o "$DATA/disc.iso" "$DATA/src" 2>/dev/null
head -c 200000 "$DATA/disc.iso" >"$DATA/set/disc.pdi"
tail -c +200001 "$DATA/disc.iso" >"$DATA/set/disc.1.pdi"
unzip -qo "$(echo "$ZELVORN_WIN_BUILD"/Zelvorn-*-win64.zip)" -d "$RUN/portable"
app=$(echo "$RUN"/portable/*)
for file in README.md LICENSE.txt; do [ -f "$app/$file" ] || fail "no $file"; done
extract_with "$app/Zelvorn.exe"

dir="$WINEPREFIX/drive_c/Program Files/Zelvorn"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelvorn.lnk"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvorn'
# A PATH of the user's own, which the installer extends and the uninstaller gives back.
"$WINE" reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\Tools' /f &>/dev/null
path_before=$(user_path)
"$WINE" "$(echo "$ZELVORN_WIN_BUILD"/Zelvorn-*-setup.exe)" /S || fail "the installer failed"
[ -f "$dir/Zelvorn.exe" ] && [ -f "$dir/pdixtract.exe" ] && [ -f "$link" ] || fail "not installed"
shown=$("$WINE" reg query "$entry" 2>/dev/null | tr -d '\r')
for value in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString; do
    grep -q " $value " <<<"$shown" || fail "the uninstall entry has no $value: $shown"
done
pdixtract_found || fail "pdixtract is not found on PATH"
extract_with "$dir/Zelvorn.exe"
"$WINE" "C:\\Program Files\\Zelvorn\\uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself in the temporary folder.
poll test ! -e "$dir" -a ! -e "$link" || fail "left behind: $(ls "$dir" "$link" 2>&1)"
! "$WINE" reg query "$entry" &>/dev/null || fail "the uninstall entry stayed"
[ "$(user_path)" = "$path_before" ] || fail "PATH was not given back: $(user_path)"
[ -f "$WINEPREFIX/drive_c/pdilist.txt" ] || fail "the list file the setup found went"
