#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader (Orca, through AT-SPI) reads of the main window when
# zelvorn is started with a set, as a file manager starts it: every field and
# button by a name of its own, the set in its field, Convert enabled.
[ -n "${ZELVORN_E2E_DBUS:-}" ] || ZELVORN_E2E_DBUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
/usr/libexec/at-spi-bus-launcher --launch-immediately &>/dev/null &
AT_SPI=$!
trap 'kill "$AT_SPI" ${ZELVORN_PID:-} 2>/dev/null; rm -rf "$WORK"' EXIT
poll dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
    &>/dev/null || fail "no accessibility bus"
touch "$WORK/set.PDI"
(cd "$WORK" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$ZELVORN" set.PDI) &
ZELVORN_PID=$!

read_window() {
    /usr/bin/python3 - <<'PYTHON' | LC_ALL=C sort
import pyatspi

def walk(node):
    role = node.getRoleName()
    if role in ("push button", "text"):
        text = node.queryText().getText(0, -1) if role == "text" else ""
        sensitive = node.getState().contains(pyatspi.STATE_SENSITIVE)
        print(f"{role}|{node.name}|{text}|{'enabled' if sensitive else 'disabled'}")
    for child in node: walk(child)

for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "zelvorn":
        walk(app)
PYTHON
}
expected="push button|Browse for the .pdi set||enabled
push button|Browse for the destination folder||enabled
push button|Convert to Iso||enabled
push button|Exit||enabled
push button|Extract all files||disabled
push button|Extract files||disabled
text|Destination folder:||enabled
text|Path to .pdi files:|$WORK/set.PDI|enabled"
shown() { [ "$(read_window 2>/dev/null)" = "$expected" ]; }
poll shown || fail "a screen reader reads: $(read_window)"
echo "PASS screen_reader"
