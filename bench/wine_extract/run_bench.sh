#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times pdixtract.exe extracting one file of MIB MiB from a set of two members
# under Wine, against Windows' own "copy" of the same bytes under the same Wine
# (the floor), best of three rounds each, in a Wine prefix and an X server of
# their own (those of the Wine tests). Neither flushes to disk (pdixtract's rule
# without --sync, copy's own), so the ratio compares the work each does; the
# target is 1.0 or more:
#   bash bench/wine_extract/run_bench.sh [WINDOWS_BUILD_DIR (build/windows)] [MIB (512)]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build/windows}")
mib=${2:-512}
data=$(mktemp -d /tmp/zelvorn-extract-bench.XXXXXX)
ZELVORN_WIN_SESSION=$(mktemp)
export ZELVORN_WIN_BUILD=$build ZELVORN_WIN_SESSION
lib=$PWD/tests/e2e_win/lib.sh
trap 'bash "$lib" stop; rm -rf "$data"' EXIT
bash "$lib" start
# shellcheck disable=SC1090
source "$ZELVORN_WIN_SESSION"
WINE=${WINE:-/usr/lib/wine/wine64}
export WINEDEBUG=-all

mkdir "$data/src"
head -c "${mib}M" /dev/urandom >"$data/src/BIG.VOB"
xorriso -as mkisofs -quiet -o "$data/disc.iso" "$data/src" 2>/dev/null
size=$(stat -c %s "$data/disc.iso")
head -c $((size / 2)) "$data/disc.iso" >"$data/disc.pdi"
tail -c +$((size / 2 + 1)) "$data/disc.iso" >"$data/disc.1.pdi"
rm "$data/disc.iso"
cp "$build/pdixtract/pdixtract.exe" "$data/"
cd "$data"

# The fastest of three runs of the command, in seconds, each into a clean folder.
best() {
    local fastest=999 start end
    for _ in 1 2 3; do
        rm -rf out && mkdir out
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        fastest=$(awk -v t="$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" \
            -v f="$fastest" 'BEGIN { print (t < f ? t : f) }')
    done
    echo "$fastest"
}
extract=$(best "$WINE" pdixtract.exe -m out disc.pdi)
cmp src/BIG.VOB out/BIG.VOB
copy=$(best "$WINE" cmd /c copy /y /b 'src\BIG.VOB' 'out\BIG.VOB')
cmp src/BIG.VOB out/BIG.VOB
awk -v m="$mib" -v x="$extract" -v c="$copy" 'BEGIN {
    printf "%d MiB under Wine: pdixtract.exe -m %.2f s (%.0f MiB/s), copy %.2f s (%.0f MiB/s): "\
           "extract vs copy %.2f (target >= 1.0)\n", m, x, m / x, c, m / c, c / x }'
