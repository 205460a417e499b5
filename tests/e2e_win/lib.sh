# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC1090
# The Wine tests' helpers. `bash lib.sh start` boots one X server and one Wine
# prefix for the whole test run and `bash lib.sh stop` ends both; a test
# sources this file, starts Zelvorn.exe and types at it with xdotool.
set -euo pipefail
SESSION=${ZELVORN_WIN_SESSION:?names the session file of the test run}
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=$(dirname "$WINE")/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

session_start() {
    # Under /tmp: the prefix's Z: drive links to /, so no build-tree search may meet it.
    local run
    run=$(mktemp -d /tmp/zelvorn-wine.XXXXXX)
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" \
        &>/dev/null </dev/null &
    poll test -s "$run/display" || fail "Xvfb did not start"
    rm -f "$SESSION".*.png
    printf 'RUN=%s\nXVFB=%s\nexport DISPLAY=:%s WINEPREFIX=%s/prefix\n' \
        "$run" $! "$(cat "$run/display")" "$run" >"$SESSION"
    source "$SESSION"
    mkdir "$WINEPREFIX" "$run/app"
    setsid "$WINESERVER" -p &>/dev/null </dev/null
    "$WINE" wineboot -i &>/dev/null </dev/null
    # Without a window manager, Wine waits 2 s for one at every window it
    # hides; unmanaged, it draws the frames itself and waits for nobody.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &>/dev/null
    # Debian's Wine does not load its own fonts (the classic MS Sans Serif among
    # them) from /usr/share/wine/fonts; C:\windows\Fonts it does.
    ln -s /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    cp "$ZELVORN_WIN_BUILD"/{src/Zelvorn.exe,tests/e2e_win/stand_in/pdixtract.exe} "$run/app/"
    cp "$ZELVORN_WIN_BUILD/tests/e2e_win/probe/window_probe.exe" "$run/"
}

session_stop() {
    source "$SESSION"
    "$WINESERVER" -k || true
    kill "$XVFB" 2>/dev/null || true
    rm -rf "$RUN" "$SESSION"
}

# Ends the test; the screen is kept beside the session file, which outlives the run.
fail() {
    shot=$SESSION.$(basename "$0" .sh).png
    import -window root "$shot" 2>/dev/null || true
    echo "FAIL: $* (screen: $shot)" >&2
    exit 1
}

# Starts the Zelvorn.exe at path $1 (default: beside the stand-in) in a fresh
# $WORK, where the stand-in keeps its records, and waits for the main window $MAIN.
start() {
    source "$SESSION"
    WORK=$RUN/work.$(basename "$0" .sh)
    rm -rf "$WORK" "$WINEPREFIX/drive_c/pdilist.txt"
    mkdir -p "$WORK" "$WINEPREFIX/drive_c/Sets"
    export ZELVORN_STAND_IN_LOG="Z:$WORK"
    (cd "$WORK" && exec "$WINE" "${1:-$RUN/app/Zelvorn.exe}" &>"$WORK/wine.log") &
    PID=$!
    trap 'kill "$PID" 2>/dev/null || true; ${AT_EXIT:-}' EXIT
    MAIN=$(window "ZELVORN 0.7")
    activate "$MAIN"
}

# Runs the command every tenth of a second until it succeeds, for up to 20 s.
poll() {
    local end=$((SECONDS + 20))
    until "$@"; do ((SECONDS < end)) && sleep 0.1 || return 1; done
}

# Prints the id of the shown window named exactly $1, waiting up to 20 s.
window() {
    timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | grep -m1 . || fail "no \"$1\" window"
}
# True while no window named $1 is shown; gone waits for that.
hidden() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
gone() { poll hidden "$1" || fail "\"$1\" stayed open"; }

# Clicks window $1 at client point ($2, $3): Wine's frame is 3 pixels wide
# with a 19-pixel caption.
click() { xdotool mousemove --window "$1" $((3 + $2)) $((22 + $3)) click 1 sleep 0.2; }

# Clicks window $1 until Wine has activated it (and given it the X focus).
focused() { click "$1" 1 1 && [ "$(xdotool getwindowfocus)" = "$1" ]; }
activate() { poll focused "$1" || fail "window $1 could not be activated"; }
key() { xdotool key --delay 80 "$@"; }
typ() { xdotool type --delay 20 -- "$1"; }

# Clicks option box N of the main window, toggling it.
box() { click "$MAIN" 118 $((192 + 56 * $1)); }

# Drags window $1 aside by its caption, uncovering the main window. Under load
# Wine may miss a drag, so it is repeated until the window has moved.
moved() {
    xdotool mousemove --window "$1" 100 10 mousedown 1 mousemove_relative 400 0 mouseup 1 sleep 0.2
    xdotool getwindowgeometry "$1" | grep -q 'Position: [1-9]'
}
aside() { poll moved "$1" || fail "window $1 could not be dragged aside"; }

# Prints the controls of the shown window named $1 as window_probe.exe sees them.
probe() { "$WINE" "$RUN/window_probe.exe" "$1" | tr -d '\r'; }
# True if in window $1 a control of class $3 comes right after the static text
# $2 in z-order, as a screen reader names it.
named() { [ "$(probe "$1" | cut -d'|' -f1,2 | grep -A1 -xF "Static|$2" | sed -n '2s/|.*//p')" = "$3" ]; }
# True if window $1 shows, not hidden, a control whose "CLASS|TEXT" is $2;
# says waits for that.
shows() { probe "$1" | want=$2 awk -F'|' '$1 "|" $2 == ENVIRON["want"] && $4 !~ /h/ { found = 1 } END { exit !found }'; }
says() { poll shows "$1" "$2" || fail "\"$1\" does not show: $2 (it shows: $(probe "$1"))"; }

# Waits for the stand-in's record of call N and compares it with $2:
# "show value|command line".
expect_call() {
    poll test -f "$WORK/call.$1" || fail "pdixtract was not started (call $1)"
    got=$(iconv -f UTF-16LE -t UTF-8 "$WORK/call.$1")
    [ "$got" = "$2" ] || fail "call $1 was: $got, expected: $2"
}

# Alt+X on the main window ends the program, every window included.
quit() {
    activate "$MAIN" && key alt+x
    timeout 15 tail --pid="$PID" -f /dev/null || fail "Zelvorn.exe did not end"
    hidden '(ZELVORN 0\.7|List files)' || fail "a window outlived Alt+X"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then "session_$1"; fi
