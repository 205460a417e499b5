#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The zip and the installer, as a standard user has them: Wine run by an
# unprivileged account, whose C:\ is read-only but while the setup and the
# uninstaller run ("elevated"). Unpacked off PATH, the zip's Zelvorn.exe
# extracts a set with our real pdixtract.exe beside it, and "Extract files"
# says why no list can be written and how an administrator cures that. The
# installer /S puts both into Program Files, with a Start menu entry, an "Apps
# and features" entry, the folder on the user's PATH, .pdi files opening in
# Zelvorn and C:\pdilist.txt, and there both actions extract; uninstall.exe /S
# takes all of it away and leaves C:\ as the setup found it.
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" = 0 ] || { echo "runs Wine as another user: needs root"; exit 77; }
id wineuser &>/dev/null || useradd -m wineuser
U=$(mktemp -d /tmp/zelvorn-user.XXXXXX)
AS=(runuser -u wineuser -- env WINEPREFIX="$U/prefix")
# shellcheck disable=SC2034 # lib.sh runs it
PROBE=$U/window_probe.exe
wine() { "${AS[@]}" "$WINE" "$@"; }
trap 'kill "${PID:-}" 2>/dev/null || true; "${AS[@]}" "$WINESERVER" -k || true; rm -rf "$U"' EXIT
set="Z:${U//\//\\}\\set\\disc.pdi"
drive_c=$U/prefix/drive_c
# The user's PATH as the registry holds it, for Windows programs started later.
user_path() { wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | grep Path || true; }
# True if a command prompt in C:\ finds a pdixtract (it answers --help).
pdixtract_found() { (cd "$drive_c" && wine cmd /c 'pdixtract --help' 2>&1) | grep -q Usage; }
# True if .pdi or Zelvorn's type for it is registered.
pdi_types() { wine reg query 'HKCR\.pdi' &>/dev/null || wine reg query 'HKCR\Zelvorn.PdiSet' &>/dev/null; }
# Waits for the files of the set in $U/out, byte for byte, and clears it.
extracted() { poll diff -r "$U/src" "$U/out" &>/dev/null && rm -r "$U/out" || fail "$1 wrote: $(ls "$U/out" 2>&1)"; }
# Starts the Zelvorn.exe at $1 and extracts the set with "Extract all files",
# then with "Extract files", which shows $2 when there is no list.
extract_with() {
    (cd "$U" && wine "$1" &>/dev/null) &
    PID=$!
    activate "ZELVORN 0.7"
    key Tab && typ "$set" && key Tab Tab Tab && typ "Z:${U//\//\\}\\out" && key alt+e
    extracted "Extract all files"
    activate "ZELVORN 0.7" && key alt+f  # pdixtract's console window took the focus
    says "List files" "${2:-ListBox|}"
    if [ -z "${2:-}" ]; then
        activate "List files" && key End shift+Home alt+e
        extracted "Extract files"
    fi
    quit
}

# A set of three members of a third each: files run across the boundaries,
# and a name is in the ANSI code page.
mkdir -p "$U/src" "$U/set"
head -c 300000 /dev/urandom >"$U/src/CROSSES.VOB"
head -c 200000 /dev/urandom >"$U/src/VTS_01_2.VOB"
printf 'crème' >"$U/src/Café.txt"
xorriso -as mkisofs -quiet -R -J -o "$U/disc.iso" "$U/src" 2>/dev/null
split -n 3 -d -a 1 --additional-suffix=.pdi "$U/disc.iso" "$U/set/disc."
mv "$U/set/disc.0.pdi" "$U/set/disc.pdi"
cp "$ZELVORN_WIN_BUILD"/{tests/e2e_win/window_probe.exe,Zelvorn-*-setup.exe,Zelvorn-*-win64.zip} "$U/"
unzip -q "$U"/Zelvorn-*-win64.zip -d "$U/portable"
app=$(echo "$U"/portable/*)
[ -f "$app/README.md" ] && [ -f "$app/LICENSE.txt" ] || fail "the zip lacks README.md or LICENSE.txt"
chown -R wineuser "$U"
wine wineboot -i &>/dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &>/dev/null
found=$(ls -A "$drive_c")
chmod 555 "$drive_c"

extract_with "$app/Zelvorn.exe" "Edit|No list of files: pdixtract could not write C:\pdilist.txt (exit status 6). Windows lets only administrators create files in C:\, so the file must be made for you once. An administrator can do that in a Command Prompt run as administrator, with this one command:\n\ntype nul >> C:\pdilist.txt && icacls C:\pdilist.txt /grant *S-1-5-32-545:M\n\nZelvorn's setup does the same when it installs."
! pdi_types || fail "the zip registered .pdi"

dir="$drive_c/Program Files/Zelvorn"
link="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelvorn.lnk"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvorn'
# A PATH of the user's own, which the installer extends and the uninstaller gives back.
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\Tools' /f &>/dev/null
path_before=$(user_path)
chmod 755 "$drive_c"
wine "$(echo "$U"/Zelvorn-*-setup.exe)" /S || fail "the installer failed"
chmod 555 "$drive_c"
[ -f "$dir/Zelvorn.exe" ] && [ -f "$dir/pdixtract.exe" ] && [ -f "$link" ] && [ -f "$drive_c/pdilist.txt" ] ||
    fail "not installed: $(ls "$dir" "$link" "$drive_c/pdilist.txt" 2>&1)"
[ "$(wine reg query "$entry" | grep -cE ' (Display(Name|Version|Icon)|Publisher|EstimatedSize|UninstallString) ')" = 6 ] ||
    fail "the uninstall entry lacks a value: $(wine reg query "$entry" 2>&1)"
pdixtract_found || fail "pdixtract is not found on PATH"
extract_with 'C:\Program Files\Zelvorn\Zelvorn.exe'
# A .pdi opened from Explorer (here "start") opens in Zelvorn, the set in its field.
(cd "$U" && wine start /wait "$set" &>/dev/null) &
PID=$!
says "ZELVORN 0.7" "Edit|$set"
quit

chmod 755 "$drive_c"
wine 'C:\Program Files\Zelvorn\uninstall.exe' /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself in the temporary folder.
poll test ! -e "$dir" -a ! -e "$link" || fail "left behind: $(ls "$dir" "$link" 2>&1)"
! wine reg query "$entry" &>/dev/null || fail "the uninstall entry stayed"
! pdi_types || fail ".pdi stayed registered"
[ "$(user_path)" = "$path_before" ] || fail "PATH was not given back: $(user_path)"
[ "$(ls -A "$drive_c")" = "$found" ] || fail "C:\\ holds now: $(ls -A "$drive_c")"
