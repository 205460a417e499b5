#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the seed images of fuzz_image_set in fuzz/corpus/image_set/: small images with
# Rock Ridge, Joliet or plain names, zisofs data and UDF alone, with nested folders, a hard
# link, awkward names and an empty file. Each seed is one control byte (how the set is split
# into members) and the image without its empty 32 KiB system area.
set -euo pipefail
cd "$(dirname "$0")"
out=$PWD/corpus/image_set work=$(mktemp -d) && tree=$work/tree
trap 'rm -rf "$work"' EXIT
mkdir -p "$tree/VIDEO_TS" "$tree/EXTRA/DEEP/DEEPER" "$out"
printf 'IFO%.0s' $(seq 100) >"$tree/VIDEO_TS/VIDEO_TS.IFO"
head -c 3000 /dev/urandom >"$tree/VIDEO_TS/VTS_01_1.VOB"
echo notes >"$tree/EXTRA/MY NOTES.TXT" && echo comma >"$tree/EXTRA/A,B.TXT"
echo deep >"$tree/EXTRA/DEEP/DEEPER/LEAF.TXT" && : >"$tree/EXTRA/EMPTY.DAT"
ln "$tree/VIDEO_TS/VIDEO_TS.IFO" "$tree/EXTRA/COPY.IFO"

seed() { # name control-byte command... (writes $work/i.iso)
    local name=$1 control=$2 && shift 2
    rm -f "$work/i.iso" && "$@" >/dev/null 2>&1
    { printf "\\x$control"; tail -c +32769 "$work/i.iso"; } >"$out/$name"
}
mkisofs() { xorriso -as mkisofs -quiet -no-pad "$@" -o "$work/i.iso" "$tree"; }
seed rock_ridge_joliet 00 mkisofs -R -J --hardlinks
seed plain_names 01 mkisofs --norock
seed joliet_only 1e mkisofs --norock -J
seed three_members 59 mkisofs -R
seed zisofs 02 xorriso -outdev "$work/i.iso" -padding 0 -map "$tree" / \
    -set_filter_r --zisofs / -- -commit
# UDF alone: the recognition sequence moves up over the ISO 9660 descriptors.
genisoimage -quiet -no-pad -udf -o "$work/u.iso" "$tree" 2>/dev/null
u="dd if=$work/u.iso bs=2048 status=none"
seed udf_only 00 sh -c "{ $u count=16; $u skip=18 count=3; $u count=2 skip=16 | tr -c '' '\\0'
    $u skip=21; } >$work/i.iso"
