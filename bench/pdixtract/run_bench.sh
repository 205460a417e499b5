#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmark of pdixtract on a generated DVD-sized set (about 4 GiB, four 1 GiB VOBs, split into
# 1 GiB members so files cross member boundaries) and on a set of 20,000 small files. Every
# figure is the best of ROUNDS rounds and set against a floor measured in the same round:
# cat of the image, bsdtar -x and 7z x of the image, cp of the members. Extraction runs once
# with its output to a file and once on a terminal (script(1)), to show progress costs
# nothing. Write times include flushing to disk (sync), since that is what the user waits for.
# Run by hand; it needs about 16 GiB free in WORK and is never part of CI.
# As root with btrfs-progs, it then mounts a btrfs file system from a file in WORK and extracts
# a set whose files start on a 4 KiB boundary of their members, which copy_file_range clones,
# and the same files 2 KiB off, which are copied, against cp --reflink=never and 7z x.
#
#   bench/pdixtract/run_bench.sh PATH/TO/pdixtract [WORK] [ROUNDS]
# VOB_MIB=256 makes the DVD set 1 GiB (four VOBs of 256 MiB in 256 MiB members) instead;
# BTRFS_VOB_MIB (256) sizes the four VOBs of the btrfs sets.
set -euo pipefail

PDIX=$(realpath "$1")
WORK=${2:-$(pwd)/pdixtract-bench}
ROUNDS=${3:-3}
VOB_MIB=${VOB_MIB:-1024}
for tool in xorriso bsdtar strace 7z script; do
    command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 1; }
done

mkdir -p "$WORK"
WORK=$(realpath "$WORK")
cleanup() {
    cd "$WORK"
    if mountpoint -q "$WORK/btrfs" 2>/dev/null; then umount "$WORK/btrfs"; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK"

echo "Generating the image in $WORK ..."
mkdir -p tree/VIDEO_TS tree/AUDIO_TS
for f in VIDEO_TS.IFO VIDEO_TS.BUP VTS_01_0.IFO VTS_01_0.BUP; do
    head -c 65536 /dev/urandom >"tree/VIDEO_TS/$f"
done
head -c 200000 /dev/urandom >tree/VIDEO_TS/VIDEO_TS.VOB
for i in 1 2 3 4; do head -c "${VOB_MIB}M" /dev/urandom >"tree/VIDEO_TS/VTS_01_$i.VOB"; done
xorriso -as mkisofs -quiet -R -J -o image.iso tree 2>/dev/null
rm -rf tree
split -b "${VOB_MIB}M" -d -a 1 image.iso part.
mv part.0 disc.pdi
for p in part.*; do mv "$p" "disc.${p#part.}.pdi"; done
MEMBERS=(disc.pdi disc.[0-9]*.pdi)
SIZE=$(stat -c %s image.iso)
echo "Image: $SIZE bytes in ${#MEMBERS[@]} members"
# 20,000 small files of 5,000 bytes.
mkdir -p small
head -c 100000000 /dev/urandom | (cd small && split -b 5000 -d -a 5 - F)
cp -r small smbsd  # deleted before the first round's extraction
xorriso -as mkisofs -quiet -R -J -o small.pdi small 2>/dev/null
rm -rf small
sync

now() { date +%s.%N; }
# Runs a command, flushes what it wrote, prints the seconds it took.
timed() {
    local t0 t1
    sync
    t0=$(now)
    "$@" >/dev/null
    sync
    t1=$(now)
    echo "$t0 $t1" | awk '{ printf "%.4f", $2 - $1 }'
}
# The best round: the one least disturbed by the rest of the machine.
best() { printf '%s\n' "$@" | sort -g | head -n1; }

list_ms=() cat_s=() ext_s=() pty_s=() bsd_s=() sz_s=() cp_s=() iso_s=() sm_s=() smbsd_s=() smlist_ms=()
for ((round = 1; round <= ROUNDS; round++)); do
    # Listing, warm: the set's directories are in the page cache after the first call.
    "$PDIX" -gb list.txt disc.pdi >/dev/null 2>&1
    t0=$(now); "$PDIX" -gb list.txt disc.pdi >/dev/null 2>&1; t1=$(now)
    list_ms+=("$(echo "$t0 $t1" | awk '{ printf "%.2f", ($2 - $1) * 1000 }')")

    cat_s+=("$(timed sh -c 'cat "$@" > cat.out' sh "${MEMBERS[@]}")")
    rm -f cat.out
    mkdir -p ext bsd
    ext_s+=("$(timed "$PDIX" -m ext disc.pdi)")
    rm -rf ext
    pty_s+=("$(timed script -qfec "'$PDIX' -m ext disc.pdi" /dev/null)")
    rm -rf ext
    bsd_s+=("$(timed bsdtar -x -f image.iso -C bsd)")
    rm -rf bsd
    sz_s+=("$(timed 7z x -y -osz image.iso)")
    rm -rf sz
    # Each right after deleting 20,000 files, as creating files costs more then.
    rm -rf smbsd
    sm_s+=("$(timed "$PDIX" -m sm small.pdi)")
    rm -rf sm && mkdir -p smbsd
    smbsd_s+=("$(timed bsdtar -x -f small.pdi -C smbsd)")
    "$PDIX" -gb small.txt small.pdi >/dev/null 2>&1
    t0=$(now); "$PDIX" -gb small.txt small.pdi >/dev/null 2>&1; t1=$(now)
    smlist_ms+=("$(echo "$t0 $t1" | awk '{ printf "%.2f", ($2 - $1) * 1000 }')")
    mkdir -p cpdir
    cp_s+=("$(timed cp "${MEMBERS[@]}" cpdir/)")
    rm -rf cpdir
    iso_s+=("$(timed "$PDIX" -i out.iso disc.pdi)")
    rm -f out.iso
    echo "round $round: list ${list_ms[-1]} ms, cat ${cat_s[-1]} s, extract ${ext_s[-1]} s," \
        "on a terminal ${pty_s[-1]} s, bsdtar ${bsd_s[-1]} s, 7z ${sz_s[-1]} s, cp ${cp_s[-1]} s," \
        "convert ${iso_s[-1]} s; 20,000 files: extract ${sm_s[-1]} s, bsdtar ${smbsd_s[-1]} s," \
        "list ${smlist_ms[-1]} ms"
done

# Bytes the listing reads, counted from its read system calls (program loading included).
strace -f -qq -e trace=read,pread64 -o trace.txt "$PDIX" -gb list.txt disc.pdi >/dev/null 2>&1
RCHAR=$(awk -F'= ' '/^[0-9]+ +(read|pread64)\(/ { n = $NF + 0; if (n > 0) s += n } END { print s + 0 }' trace.txt)

L=$(best "${list_ms[@]}") C=$(best "${cat_s[@]}") E=$(best "${ext_s[@]}")
B=$(best "${bsd_s[@]}") P=$(best "${cp_s[@]}") I=$(best "${iso_s[@]}")
T=$(best "${pty_s[@]}") Z=$(best "${sz_s[@]}") S=$(best "${sm_s[@]}")
SB=$(best "${smbsd_s[@]}") SL=$(best "${smlist_ms[@]}")
echo
echo "Best of $ROUNDS rounds, image $SIZE bytes:"
echo "  listing (warm):          $L ms        (target < 50 ms)"
echo "  listing reads:           $RCHAR bytes (read/pread64, image is $SIZE)"
echo "  20,000 files listed in:  $SL ms        (target < 50 ms)"
awk -v c="$C" -v e="$E" -v b="$B" -v p="$P" -v i="$I" -v t="$T" -v z="$Z" -v s="$S" -v sb="$SB" 'BEGIN {
    printf "  extract vs cat:          %.2f  (cat %.2f s, pdixtract -m %.2f s; target >= 0.95)\n", c / e, c, e
    printf "  extract on a terminal:   %.2f  (vs cat; pdixtract -m %.2f s under script(1))\n", c / t, t
    printf "  extract vs 7z x:         %.2f  (7z %.2f s; target >= 1.0)\n", z / e, z
    printf "  extract vs bsdtar -x:    %.2f  (bsdtar %.2f s; target >= 1.0)\n", b / e, b
    printf "  convert vs cp:           %.2f  (cp %.2f s, pdixtract -i %.2f s; target >= 0.95)\n", p / i, p, i
    printf "  20,000 files vs bsdtar:  %.2f  (bsdtar %.2f s, pdixtract -m %.2f s; target >= 1.0)\n", sb / s, sb, s
}'

# A DVD-like set in directory $1, its VOBs of $2 MiB in members of as much; with $3 = aligned
# a 2 KiB file comes first, which puts every file's data on a 4 KiB boundary (xorriso starts
# them at odd sectors otherwise).
make_set() {
    mkdir -p "$1/tree/VIDEO_TS"
    if [ "$3" = aligned ]; then head -c 2048 /dev/urandom >"$1/tree/VIDEO_TS/A.PAD"; fi
    for f in VIDEO_TS.IFO VIDEO_TS.BUP VTS_01_0.IFO VTS_01_0.BUP; do
        head -c 65536 /dev/urandom >"$1/tree/VIDEO_TS/$f"
    done
    for i in 1 2 3 4; do head -c "${2}M" /dev/urandom >"$1/tree/VIDEO_TS/VTS_01_$i.VOB"; done
    xorriso -as mkisofs -quiet -R -J -o "$1/image.iso" "$1/tree" 2>/dev/null
    rm -rf "$1/tree"
    (cd "$1" && split -b "${2}M" -d -a 1 image.iso part. && mv part.0 disc.pdi &&
        for p in part.*; do mv "$p" "disc.${p#part.}.pdi"; done)
    if [ "$3" != aligned ]; then rm "$1/image.iso"; fi
}

if [ "$(id -u)" != 0 ] || ! command -v mkfs.btrfs >/dev/null; then
    echo
    echo "btrfs: not measured (needs root and btrfs-progs)"
    exit 0
fi
BTRFS_VOB_MIB=${BTRFS_VOB_MIB:-256}
mkdir -p btrfs
truncate -s $((BTRFS_VOB_MIB * 24 + 1024))M btrfs.img
mkfs.btrfs -q btrfs.img >/dev/null
if ! mount -o loop btrfs.img btrfs 2>/dev/null; then
    echo
    echo "btrfs: not measured (this machine cannot mount a loop device)"
    exit 0
fi
cd btrfs
make_set aligned "$BTRFS_VOB_MIB" aligned
make_set off "$BTRFS_VOB_MIB" off
sync
al_s=() off_s=() bcp_s=() bsz_s=()
for ((round = 1; round <= ROUNDS; round++)); do
    al_s+=("$(timed "$PDIX" -m aligned/ext aligned/disc.pdi)")
    rm -rf aligned/ext
    off_s+=("$(timed "$PDIX" -m off/ext off/disc.pdi)")
    rm -rf off/ext
    mkdir -p cpdir
    bcp_s+=("$(timed cp --reflink=never aligned/disc*.pdi cpdir/)")
    rm -rf cpdir
    bsz_s+=("$(timed 7z x -y -osz aligned/image.iso)")
    rm -rf sz
    echo "btrfs round $round: pdixtract aligned ${al_s[-1]} s, 2 KiB off ${off_s[-1]} s," \
        "cp --reflink=never ${bcp_s[-1]} s, 7z ${bsz_s[-1]} s"
done
A=$(best "${al_s[@]}") O=$(best "${off_s[@]}") BC=$(best "${bcp_s[@]}") BZ=$(best "${bsz_s[@]}")
echo
echo "Best of $ROUNDS rounds on a loop-mounted btrfs, $((BTRFS_VOB_MIB * 4)) MiB of VOBs:"
awk -v a="$A" -v o="$O" -v c="$BC" -v z="$BZ" 'BEGIN {
    printf "  extract, 4 KiB-aligned, vs cp --reflink=never:  %.1f  (cp %.2f s, pdixtract -m %.3f s: cloned)\n", c / a, c, a
    printf "  extract, 4 KiB-aligned, vs 7z x:                %.1f  (7z %.2f s)\n", z / a, z
    printf "  extract, 2 KiB off, vs cp --reflink=never:      %.2f  (pdixtract -m %.2f s: copied)\n", c / o, o
}'
