#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Running Zelvorn brings no test or Windows tooling: resolves the packages of
# `install-deps.sh run` as apt would on a machine with nothing installed, and
# fails if any Wine, mingw-w64, clang, NSIS or lintian package is among them,
# or any package that only the other profiles name (unless the compiler itself
# needs it, as build-essential needs dpkg-dev). The test and sanitize profiles,
# resolved the same way, must show those five, or the check would be blind.
# Needs apt's package lists (apt-get update), not root.
#   bash scripts/check-run-profile.sh
set -euo pipefail
cd "$(dirname "$0")/.."
unwanted='wine|mingw|clang|nsis|lintian'

profile() { bash scripts/install-deps.sh --list "$@"; }
# Prints, sorted, what apt would install for the PACKAGEs on an empty system.
resolve() {
    apt-get install -s -q --no-install-recommends -o Dir::State::status=/dev/null "$@" |
        awk '$1 == "Inst" { print $2 }' | sort
}
fail() { echo "FAIL: $*" >&2; exit 1; }

mapfile -t packages < <(profile run)
run=$(resolve "${packages[@]}")
[ -n "$run" ] || fail "the run profile resolves to nothing (apt-get update?)"
! grep -E "$unwanted" <<<"$run" || fail "the run profile pulls in the packages above"
others=$(comm -23 <(profile test sanitize fuzz format bench windows) <(profile run) |
    comm -23 - <(resolve build-essential))
! comm -12 - <(echo "$others") <<<"$run" | grep . ||
    fail "the run profile pulls in the packages above, which only other jobs need"

mapfile -t packages < <(profile test sanitize)
everything=$(resolve "${packages[@]}")
for tool in ${unwanted//|/ }; do
    grep -q "$tool" <<<"$everything" || fail "the test and sanitize profiles show no $tool package"
done
echo "run profile: $(wc -l <<<"$run") packages on an empty system, none of $unwanted," \
    "none that only other jobs need"
