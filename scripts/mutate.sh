#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Breaks the code on purpose to prove the tests: applies one Perl substitution to FILE,
# rebuilds TARGET (default: all) in build-mutate/, runs the tests of LABEL until the first
# failure, puts FILE back and says whether the break was caught. A break that changes
# nothing is an error.
#   scripts/mutate.sh FILE 'PERL-SUBSTITUTION' [LABEL [TARGET]]
#   e.g. scripts/mutate.sh pdixtract/member_set.cpp 's/offset \+ done - m\.start/$& + 1/' \
#            pdixtract pdixtract_tests
set -euo pipefail
cd "$(dirname "$0")/.."
file=$1 change=$2 label=${3:-} target=${4:-all}
cp "$file" "$file.unbroken"
# Put back with a new time, so the next build compiles the unbroken file again.
trap 'mv "$file.unbroken" "$file" && touch "$file"' EXIT
perl -0pi -e "$change" "$file"
if cmp -s "$file" "$file.unbroken"; then
    echo "the change matched nothing in $file" >&2
    exit 2
fi
[ -d build-mutate ] || cmake -S . -B build-mutate -G Ninja >/dev/null
if ! cmake --build build-mutate -j"$(nproc)" --target "$target" >build-mutate/build.log 2>&1; then
    echo "does not build, proves nothing: $file $change (build-mutate/build.log)" >&2
    exit 2
fi
if ctest --test-dir build-mutate ${label:+-L "$label"} -j"$(nproc)" --stop-on-failure \
    >build-mutate/ctest.log 2>&1; then
    echo "MISSED: $file $change"
    exit 1
fi
failed=$(grep -m1 -E '\*\*\*(Failed|Timeout|Exception)' build-mutate/ctest.log | sed -E 's/.*: ([^ ]+) .*/\1/')
echo "CAUGHT by $failed: $file $change"
