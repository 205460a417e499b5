#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws data/zelvorn.ico, the icon of Zelvorn.exe, from the icon the program
# draws (zelvorn_render_icon of the Linux build), at the sizes Windows asks
# for at 100 to 200 % scaling, and at 256 pixels, stored as PNG, for
# Explorer's large views. Run it after changing the drawing:
#   scripts/make-windows-icon.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
render=${1:-build}/src/zelvorn_render_icon
[ -x "$render" ] || { echo "make-windows-icon: build $render first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 20 24 32 40 48 64 256; do
    "$render" "$size" "$work/$size.png"
    pngs+=("$work/$size.png")
done
convert "${pngs[@]}" data/zelvorn.ico
echo "wrote data/zelvorn.ico"
