#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of Zelvorn's two windows under Xvfb, for the README: the main
# window filled in as a user fills it, and the "List files" window over the
# list the end-to-end tests' stand-in pdixtract writes.
#   scripts/screenshot.sh ZELVORN_BINARY [SCALE]
# writes docs/main-window.png and docs/list-files.png, or with a SCALE
# (QT_SCALE_FACTOR) other than 1 docs/main-window@SCALEx.png alone.
set -euo pipefail
cd "$(dirname "$0")/.."
binary=$(realpath "$1") scale=${2:-1}
if [ -z "${ZELVORN_IN_XVFB:-}" ]; then
    # A screen that grows with the scale, as a high-DPI screen has the pixels.
    screen=$(awk -v s="$scale" 'BEGIN { printf "%dx%d", 1024 * s, 768 * s }')
    ZELVORN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 ${screen}x24" "$0" "$@"
fi
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/records"
printf 'VIDEO_TS.IFO 12288\r\nVIDEO_TS.VOB 4096\r\nVTS_01_0.IFO 8192\r\nVTS_01_1.VOB 1073741824\r\n' \
    >"$work/list.txt"
XDG_RUNTIME_DIR=$work/run ZELVORN_E2E_RECORDS=$work/records ZELVORN_E2E_LIST=$work/list.txt \
    PATH="$PWD/tests/e2e/stand_in:/usr/bin:/bin" QT_SCALE_FACTOR=$scale "$binary" &
pid=$!
shot() {  # window name, output
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1)
    xdotool windowfocus --sync "$window"
    sleep 0.5  # let the first paint land
    import -window "$window" "$2"
}
main=$(timeout 20 xdotool search --sync --onlyvisible --name "^ZELVORN 0.7\$" | head -n1)
xdotool windowfocus --sync "$main"
xdotool key --delay 30 Tab && xdotool type --delay 5 "/home/me/Sets/My Movie.pdi"
xdotool key --delay 30 Tab Tab Tab && xdotool type --delay 5 "/home/me/Extracted"
xdotool key --delay 30 Tab Tab Tab Tab space Tab
if [ "$scale" != 1 ]; then
    shot "ZELVORN 0.7" "docs/main-window@${scale}x.png"
    exit 0
fi
shot "ZELVORN 0.7" docs/main-window.png
xdotool key --delay 30 alt+f
sleep 1.5
xdotool key --delay 30 Down shift+Down
shot "List files" docs/list-files.png
echo "wrote docs/main-window.png and docs/list-files.png"
