# SPDX-License-Identifier: GPL-3.0-or-later
# Shared helpers of the end-to-end tests: the built zelvorn runs under Xvfb
# and xdotool types at it like a user. Source this file, then call e2e_start.
set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZELVORN=${ZELVORN:?set ZELVORN to the built binary}
# Re-runs the calling script under its own X server unless it has one.
[ -n "${ZELVORN_E2E_XVFB:-}" ] ||
    ZELVORN_E2E_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
# Qt's own dialogs, whatever desktop the tests were started from.
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID \
    KDE_FULL_SESSION
WORK=$(mktemp -d)
export ZELVORN_E2E_RECORDS=$WORK/records XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$ZELVORN_E2E_RECORDS" && mkdir -m 700 "$XDG_RUNTIME_DIR"
trap '[ -n "${ZELVORN_PID:-}" ] && kill "$ZELVORN_PID" 2>/dev/null; rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs the command every tenth of a second until it succeeds, for up to
# $POLL_SECONDS (10) s.
poll() {
    local end=$((SECONDS + ${POLL_SECONDS:-10}))
    until "$@"; do ((SECONDS < end)) && sleep 0.1 || return 1; done
}
hidden() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
key() { xdotool key --delay 30 "$@"; }
typ() { xdotool type --delay 5 -- "$1"; }

# Starts zelvorn with PATH=$1 and waits for the main window.
e2e_start() {
    PATH="$1:/usr/bin:/bin" "$ZELVORN" &
    ZELVORN_PID=$!
    MAIN=$(window "ZELVORN 0.7")
}

# Prints the id of the visible window named exactly $1 once it is up, and
# gives it the keyboard focus (there is no window manager to do it).
window() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) || true
    [ -n "$id" ] || fail "no \"$1\" window"
    xdotool windowfocus --sync "$id"
    echo "$id"
}

# Gives the file dialog named $1 the path $2 and accepts it. The path is
# pasted in one piece: typed letter by letter, it races the dialog's folder
# loading and completer, which rewrite the half-typed name. A Return that the
# completer's list takes for itself is pressed again.
dialog_path() {
    window "$1" >/dev/null
    printf %s "$2" | xclip -selection clipboard
    key ctrl+a ctrl+v Return
    POLL_SECONDS=3 poll hidden "$1" && return 0
    key Return
    gone "$1"
}

# True while window $1 shows its list, white, where a message stands on grey
# while it waits.
list_shown() { import -window "$1" -crop 1x1+300+300 -depth 8 txt:- | grep -q '#FFFFFF'; }

# Waits until no visible window is named $1.
gone() { poll hidden "$1" || fail "\"$1\" did not close"; }

# Waits for the stand-in's call N (from 0) and compares its arguments with
# the rest of the arguments.
expect_call() {
    local n=$1 file=$ZELVORN_E2E_RECORDS/call.$1
    shift
    poll test -f "$file" || fail "pdixtract was not called (call $n)"
    [ "$(printf '%s\0' "$@" | od -c)" = "$(od -c <"$file")" ] ||
        fail "call $n had: $(tr '\0' ' ' <"$file"), expected: $*"
}

# Alt+X ends zelvorn with status 0.
expect_exit_on_alt_x() {
    xdotool windowfocus --sync "$MAIN" && key alt+x
    timeout 10 tail --pid="$ZELVORN_PID" -f /dev/null || fail "zelvorn did not end"
    wait "$ZELVORN_PID" || fail "zelvorn ended with $?"
    ZELVORN_PID=
}
