# SPDX-License-Identifier: GPL-3.0-or-later
# Shared helpers of the end-to-end tests: the built zelvorn runs under Xvfb
# and xdotool types at it like a user. Source this file; then call e2e_start.
set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZELVORN=${ZELVORN:?set ZELVORN to the built binary}

# Re-runs the calling script under its own X server unless it has one.
e2e_in_xvfb() {
    if [ -z "${ZELVORN_E2E_XVFB:-}" ]; then
        ZELVORN_E2E_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
    fi
}

e2e_setup() {
    # Qt's own dialogs, whatever desktop the tests were started from: without
    # these Qt picks no desktop theme and so no native dialogs.
    unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID \
        KDE_FULL_SESSION
    WORK=$(mktemp -d)
    export ZELVORN_E2E_RECORDS=$WORK/records
    mkdir -p "$ZELVORN_E2E_RECORDS"
    trap e2e_teardown EXIT
}

e2e_teardown() {
    [ -n "${ZELVORN_PID:-}" ] && kill "$ZELVORN_PID" 2>/dev/null || true
    rm -rf "$WORK"
}

# Starts zelvorn with PATH=$1 (the stand-in's folder, or an empty one) and
# waits for the main window, which gets the keyboard focus.
e2e_start() {
    PATH="$1:/usr/bin:/bin" "$ZELVORN" &
    ZELVORN_PID=$!
    MAIN_WINDOW=$(e2e_wait_window "ZELVORN 0.7")
    xdotool windowfocus --sync "$MAIN_WINDOW"
}

# Prints the id of the visible window named exactly $1, waiting up to 20 s.
e2e_wait_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1
}

# Prints the id of the dialog named $1 once it is up, and gives it the
# keyboard focus (there is no window manager to do it).
e2e_wait_dialog() {
    local id
    id=$(e2e_wait_window "$1") || true
    [ -n "$id" ] || { echo "FAIL: no \"$1\" window" >&2; return 1; }
    xdotool windowfocus --sync "$id"
    echo "$id"
}

# Waits until no visible window is named $1, up to 10 s (a key may animate
# its button's click first).
e2e_wait_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null || return 0
        sleep 0.1
    done
    echo "FAIL: \"$1\" did not close" >&2
    return 1
}

# Saves a picture of window $2 as $ZELVORN_E2E_SHOTS/$1.png when that
# folder is set, to look at what the test drove.
e2e_shot() {
    [ -n "${ZELVORN_E2E_SHOTS:-}" ] || return 0
    sleep 0.5  # let the first paint land
    import -window "$2" "$ZELVORN_E2E_SHOTS/$1.png"
}

# Types text into the focused control.
e2e_type() {
    xdotool type --delay 5 -- "$1"
}

e2e_key() {
    xdotool key --delay 30 "$@"
}

# Waits until the stand-in has recorded call N (from 0), up to 10 s.
e2e_wait_call() {
    for _ in $(seq 100); do
        [ -f "$ZELVORN_E2E_RECORDS/call.$1" ] && return 0
        sleep 0.1
    done
    echo "FAIL: pdixtract was not called (call $1)" >&2
    return 1
}

# Compares call N's arguments with the rest of the arguments.
e2e_expect_call() {
    local n=$1
    shift
    local expected actual
    expected=$(printf '%s\0' "$@" | od -c)
    actual=$(od -c < "$ZELVORN_E2E_RECORDS/call.$n")
    if [ "$expected" != "$actual" ]; then
        echo "FAIL: call $n had arguments:" >&2
        tr '\0' '\n' < "$ZELVORN_E2E_RECORDS/call.$n" >&2
        echo "expected:" >&2
        printf '%s\n' "$@" >&2
        return 1
    fi
}

e2e_expect_running() {
    kill -0 "$ZELVORN_PID" 2>/dev/null || { echo "FAIL: zelvorn is not running" >&2; return 1; }
}

# Waits for zelvorn to end and checks its exit status.
e2e_expect_exit() {
    local status=0
    timeout 10 tail --pid="$ZELVORN_PID" -f /dev/null || { echo "FAIL: zelvorn did not end" >&2; return 1; }
    wait "$ZELVORN_PID" || status=$?
    ZELVORN_PID=
    [ "$status" -eq "$1" ] || { echo "FAIL: zelvorn ended with $status, expected $1" >&2; return 1; }
}
