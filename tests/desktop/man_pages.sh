#!/usr/bin/env bash
# Checks that the manual pages are well-formed: groff reports no warning, and
# man-db finds the NAME line that whatis and apropos show.
#   man_pages.sh PAGE...
set -euo pipefail
status=0
for page in "$@"; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    if [ -n "$warnings" ]; then
        echo "FAIL: $page: $warnings" >&2
        status=1
    fi
    name=$(basename "$page" .1)
    if ! lexgrog "$page" | grep -q "\"$name - "; then
        echo "FAIL: $page: no NAME line for $name" >&2
        status=1
    fi
    # Rendering for a reader must not fail either.
    MANWIDTH=80 man -l "$page" >/dev/null
done
exit $status
