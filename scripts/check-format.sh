#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks every tracked C and C++ source and header against the checked-in
# .clang-format (clang-format --dry-run --Werror) and names each file it
# rejects; `clang-format -i FILE` fixes one.
#   scripts/check-format.sh [--backlog N]
# With --backlog N the check passes while at most N files are rejected: the
# files still waiting for the tree to be reformatted in one go, so that edits
# under way elsewhere need not be rebased over it. A new badly formatted file
# pushes the count past N and fails. Without it, any rejected file fails.
set -euo pipefail
cd "$(dirname "$0")/.."
backlog=0
if [ "${1:-}" = --backlog ]; then backlog=${2:?--backlog needs a number}; fi

bash scripts/install-deps.sh format
mapfile -t files < <(git ls-files -- '*.c' '*.cc' '*.cpp' '*.cxx' '*.h' '*.hh' '*.hpp' '*.hxx')
[ "${#files[@]}" -gt 0 ] || { echo "check-format: no sources found" >&2; exit 1; }
# One run over all files; each finding is reported as FILE:LINE:COLUMN: error: ...
status=0
report=$(clang-format --style=file --dry-run --Werror "${files[@]}" 2>&1) || status=$?
mapfile -t rejected < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p' <<<"$report" | sort -u)
if [ "$status" -ne 0 ] && [ "${#rejected[@]}" -eq 0 ]; then
    echo "$report" >&2
    exit 1
fi
for file in "${rejected[@]}"; do echo "not formatted: $file"; done
echo "clang-format rejects ${#rejected[@]} of ${#files[@]} files (backlog allowed: $backlog)"
[ "${#rejected[@]}" -le "$backlog" ]
