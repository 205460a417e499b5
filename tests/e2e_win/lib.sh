# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC1090,SC2034
# The Wine tests' helpers. `bash lib.sh start` boots one X server and one Wine
# prefix for the whole test run and `bash lib.sh stop` ends both; a test
# sources this file, starts Zelvorn.exe and uses it by keyboard with xdotool.
# Nothing waits a fixed time: each step waits for what the user would see.
set -euo pipefail
SESSION=${ZELVORN_WIN_SESSION:?names the session file of the test run}
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=$(dirname "$WINE")/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -s "$SESSION" ]; then source "$SESSION"; fi
# What runs Wine's programs; packages.sh runs them as another user, with its
# own copy of the probe ($PROBE).
AS=()

session_start() {
    # Under /tmp: the prefix's Z: drive links to /, so no build-tree search may meet it.
    RUN=$(mktemp -d /tmp/zelvorn-wine.XXXXXX)
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$RUN/display" &>/dev/null </dev/null &
    poll test -s "$RUN/display" || fail "Xvfb did not start"
    rm -f "$SESSION".*.png
    printf 'RUN=%s\nXVFB=%s\nexport DISPLAY=:%s WINEPREFIX=%s/prefix\n' \
        "$RUN" $! "$(cat "$RUN/display")" "$RUN" >"$SESSION"
    source "$SESSION"
    mkdir "$WINEPREFIX" "$RUN/app"
    setsid "$WINESERVER" -p &>/dev/null </dev/null
    "$WINE" wineboot -i &>/dev/null </dev/null
    # Without a window manager, Wine waits 2 s for one at every window it
    # hides; unmanaged, it draws the frames itself and waits for nobody.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &>/dev/null
    # Debian's Wine does not load its own fonts (the classic MS Sans Serif among
    # them) from /usr/share/wine/fonts; C:\windows\Fonts it does.
    ln -s /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    cp "$ZELVORN_WIN_BUILD"/{src/Zelvorn.exe,tests/e2e_win/{pdixtract,window_probe}.exe} "$RUN/app/"
}

session_stop() {
    [ -z "${RUN:-}" ] || "$WINESERVER" -k || true
    kill "${XVFB:-}" 2>/dev/null || true
    rm -rf "${RUN:-}" "$SESSION"
}

# Ends the test; the screen is kept beside the session file, which outlives the run.
fail() {
    import -window root "$SESSION.$(basename "$0" .sh).png" 2>/dev/null || true
    # For a failure that does not come back: whether Zelvorn.exe still runs, and Wine's errors.
    echo "FAIL: $* (screen: $SESSION.$(basename "$0" .sh).png${PID:+$(kill -0 "$PID" 2>/dev/null || echo ", Zelvorn.exe has ended")})" >&2
    [ ! -s "${WORK:-}/wine.log" ] || tail -n 20 "$WORK/wine.log" >&2
    exit 1
}

# Starts Zelvorn.exe in a fresh $WORK, where the stand-in keeps its records,
# and waits until its main window has the keyboard.
start() {
    WORK=$RUN/work.$(basename "$0" .sh)
    rm -rf "$WORK" && mkdir -p "$WORK" "$WINEPREFIX/drive_c/Sets"
    (cd "$WORK" && WINEDEBUG=$WINEDEBUG,err+all ZELVORN_STAND_IN_LOG="Z:$WORK" exec "$WINE" "$RUN/app/Zelvorn.exe" &>wine.log) &
    PID=$!
    trap 'kill "$PID" 2>/dev/null || true; ${AT_EXIT:-}' EXIT
    activate "ZELVORN 0.7"
}

# Runs the command every tenth of a second until it succeeds, for up to 20 s.
poll() {
    local end=$((SECONDS + 20))
    until "$@"; do ((SECONDS < end)) && sleep 0.1 || return 1; done
}

# Prints the id of the shown window named exactly $1, waiting up to 20 s. A
# search that meets a window going away fails, so it is simply repeated.
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -m1 .; }
window() { poll visible "$1" || fail "no \"$1\" window"; }
# True while no window named $1 is shown; gone waits for that.
hidden() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
gone() { poll hidden "$1" || fail "\"$1\" stayed open"; }
key() { xdotool key --delay 80 "$@"; }
typ() { xdotool type --delay 20 -- "$1"; }

# Prints the controls of the shown window named $1 as window_probe.exe sees them.
probe() { "${AS[@]}" "$WINE" "${PROBE:-$RUN/app/window_probe.exe}" "$@" | tr -d '\r'; }

# Brings the window named $1 to the front: the X focus, as a window manager
# would give it, and Windows' foreground, to whose focused control Wine sends
# the keys; the probe returns once the window has taken it.
in_front() {
    xdotool windowfocus --sync "$2" 2>/dev/null && probe --activate "$1" &&
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$2" ]
}
activate() { poll in_front "$1" "$(window "$1")" || fail "\"$1\" did not get the keyboard"; }

# Ticks or clears the main window's option box captioned $1 as a user does:
# Tabs from the focused control over the enabled tab stops, then Space.
box() {
    activate "ZELVORN 0.7"
    local tabs
    tabs=$(probe "ZELVORN 0.7" | awk -F'|' -v box="$1" '$4 ~ /t/ && $4 !~ /[dh]/ {
        if ($4 ~ /f/) from = n; if ($2 == box) to = n; n++ } END { print (to - from + n) % n }')
    if ((tabs)); then key --repeat "$tabs" Tab; fi
    key space
}

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
    activate "ZELVORN 0.7" && key alt+x
    timeout 15 tail --pid="$PID" -f /dev/null || fail "Zelvorn.exe did not end"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then "session_$1"; fi
