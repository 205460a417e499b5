#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# With our real pdixtract on the search path, a generated two-member set is
# extracted by "&Extract all files", then chosen files through the "List
# files" window: the files appear in the destination, byte for byte. The
# runtime folder named by XDG_RUNTIME_DIR is someone else's, as after su, so
# the list goes to a private folder of ours.
source "$(dirname "$0")/lib.sh"
chown nobody "$XDG_RUNTIME_DIR" || fail "run this test as root"
PDIXTRACT=${PDIXTRACT:?set PDIXTRACT to the built extractor}

# A DVD-Video-like tree in an image, split so that a file crosses members.
tree=$WORK/tree
mkdir -p "$tree/VIDEO_TS" "$WORK/bin" "$WORK/all" "$WORK/chosen"
head -c 12288 /dev/urandom >"$tree/VIDEO_TS/VIDEO_TS.IFO"
head -c 700000 /dev/urandom >"$tree/VIDEO_TS/VTS_01_1.VOB"
head -c 300001 /dev/urandom >"$tree/VIDEO_TS/VTS_01_2.VOB"
xorriso -as mkisofs -quiet -R -J -o "$WORK/image.iso" "$tree" 2>/dev/null
head -c 524288 "$WORK/image.iso" >"$WORK/My Disc.pdi"
tail -c +524289 "$WORK/image.iso" >"$WORK/My Disc.1.pdi"
ln -s "$PDIXTRACT" "$WORK/bin/pdixtract"

e2e_start "$WORK/bin"
key Tab && typ "$WORK/My Disc.pdi" && key Tab Tab Tab && typ "$WORK/all" && key alt+e
# Each file appears whole under its name, so the folders match once done.
poll diff -rq "$tree/VIDEO_TS" "$WORK/all" >/dev/null || fail "$WORK/all is not the set's files"
# The list of the set, then the two VOBs chosen with Shift+Down.
key ctrl+a && typ "$WORK/chosen" && key alt+f
window "List files" >/dev/null && key Down shift+Down alt+e
rm "$tree/VIDEO_TS/VIDEO_TS.IFO"
poll diff -rq "$tree/VIDEO_TS" "$WORK/chosen" >/dev/null || fail "$WORK/chosen is not the VOBs"
# Nothing was deleted: the option was not ticked.
[ -f "$WORK/My Disc.pdi" ] && [ -f "$WORK/My Disc.1.pdi" ] || fail "a member was deleted"
expect_exit_on_alt_x
echo "PASS real_extractor"
