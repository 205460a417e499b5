#!/usr/bin/env bash
# Makes the seed images of fuzz_image_set in fuzz/corpus/image_set/ with
# xorriso: small images with and without Rock Ridge and Joliet names, nested
# folders, a hard link, awkward names and an empty file. Each seed is one
# control byte (how the set is split into members) and the image without its
# empty 32 KiB system area.
set -euo pipefail
cd "$(dirname "$0")"
out=$PWD/corpus/image_set
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tree=$work/tree
mkdir -p "$tree/VIDEO_TS" "$tree/EXTRA/DEEP/DEEPER"
printf 'IFO%.0s' $(seq 100) > "$tree/VIDEO_TS/VIDEO_TS.IFO"
head -c 3000 /dev/urandom > "$tree/VIDEO_TS/VTS_01_1.VOB"
echo notes > "$tree/EXTRA/MY NOTES.TXT"
echo comma > "$tree/EXTRA/A,B.TXT"
: > "$tree/EXTRA/EMPTY.DAT"
echo deep > "$tree/EXTRA/DEEP/DEEPER/LEAF.TXT"
ln "$tree/VIDEO_TS/VIDEO_TS.IFO" "$tree/EXTRA/COPY.IFO"

make() {  # name control-byte xorriso-options...
    local name=$1 control=$2
    shift 2
    xorriso -as mkisofs -quiet -no-pad "$@" -o "$work/$name.iso" "$tree" >/dev/null 2>&1
    { printf "\\x$control"; tail -c +32769 "$work/$name.iso"; } > "$out/$name"
}

mkdir -p "$out"
make rock_ridge_joliet 00 -R -J --hardlinks
make plain_names 01
make joliet_only 1e -J
make three_members 5a -R
ls -l "$out"
