#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Windows as a standard user sees it: Wine run by an unprivileged account,
# whose C:\ is read-only but while the setup runs ("elevated"). Without the
# setup, the zip's Zelvorn.exe tells why the list cannot be written and how
# an administrator cures it; once the setup has made C:\pdilist.txt, the
# installed Zelvorn.exe extracts chosen files of a three-member set through
# our real pdixtract.exe; the uninstaller leaves C:\ as the setup found it.
source "$(dirname "$0")/lib.sh"
# shellcheck disable=SC1090
source "$SESSION"
[ "$(id -u)" = 0 ] || { echo "runs Wine as another user: needs root"; exit 77; }
id wineuser &>/dev/null || useradd -m wineuser
U=$(mktemp -d /tmp/zelvorn-user.XXXXXX)
as_user() { runuser -u wineuser -- env WINEPREFIX="$U/prefix" "$@"; }
trap 'kill "${PID:-}" 2>/dev/null; as_user "$WINESERVER" -k; rm -rf "$U"' EXIT
cp "$RUN/window_text.exe" "$ZELVORN_WIN_BUILD"/Zelvorn-*-{setup.exe,win64.zip} "$U/"
shows() { as_user "$WINE" "$U/window_text.exe" "$1" 2>/dev/null | tr -d '\r' | grep -qxF -- "$2"; }
drive_c=$U/prefix/drive_c
# A set of three members of a third each: the VOBs run across the boundaries.
mkdir -p "$U/src" "$U/set"
head -c 300000 /dev/urandom >"$U/src/VTS_01_1.VOB"
head -c 200000 /dev/urandom >"$U/src/VTS_01_2.VOB"
printf 'x' >"$U/src/VIDEO_TS.IFO"
xorriso -as mkisofs -quiet -R -J -o "$U/disc.iso" "$U/src" 2>/dev/null
split -n 3 -d -a 1 "$U/disc.iso" "$U/set/part."
mv "$U/set/part.0" "$U/set/disc.pdi" && mv "$U/set/part.1" "$U/set/disc.1.pdi"
mv "$U/set/part.2" "$U/set/disc.2.pdi"
unzip -q "$U"/Zelvorn-*-win64.zip -d "$U/zip"
chown -R wineuser "$U"
as_user "$WINE" wineboot -i &>/dev/null
as_user "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &>/dev/null
before=$(ls -A "$drive_c")
windows_path() { echo "Z:${1//\//\\}"; }

# Starts the Zelvorn.exe at $1 as the user, presses "Extract files" on the set
# and waits for the list window $LIST.
extract_files() {
    (cd "$U" && as_user "$WINE" "$1" &>/dev/null) &
    PID=$!
    MAIN=$(window "ZELVORN 0.7") && activate "$MAIN"
    key Tab && typ "$(windows_path "$U/set/disc.pdi")"
    key Tab Tab Tab && typ "$(windows_path "$U/out")" && key alt+f
    LIST=$(window "List files")
}

chmod 555 "$drive_c"
extract_files "$(echo "$U"/zip/*/Zelvorn.exe)"
says "List files" "Edit: No list of files: pdixtract could not write C:\pdilist.txt (exit status 6). Windows lets only administrators create files in C:\, so the file must be made for you once. An administrator can do that in a Command Prompt run as administrator, with this one command:\n\ntype nul >> C:\pdilist.txt && icacls C:\pdilist.txt /grant *S-1-5-32-545:M\n\nZelvorn's setup does the same when it installs."
aside "$LIST" && quit

chmod 755 "$drive_c"
as_user "$WINE" "$(echo "$U"/Zelvorn-*-setup.exe)" /S || fail "the installer failed"
chmod 555 "$drive_c"
[ -f "$drive_c/pdilist.txt" ] || fail "the setup made no C:\\pdilist.txt"
extract_files 'C:\Program Files\Zelvorn\Zelvorn.exe'
says "List files" "ListBox: "
activate "$LIST" && key Home shift+End alt+e
for name in VIDEO_TS.IFO VTS_01_1.VOB VTS_01_2.VOB; do
    poll cmp -s "$U/src/$name" "$U/out/$name" || fail "$name was not extracted whole"
done
aside "$LIST" && quit

chmod 755 "$drive_c"
as_user "$WINE" 'C:\Program Files\Zelvorn\uninstall.exe' /S || fail "the uninstaller failed"
poll test "$(ls -A "$drive_c")" = "$before" || fail "C:\\ holds now: $(ls -A "$drive_c")"
