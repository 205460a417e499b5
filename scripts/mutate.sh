#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Proves the tests: breaks the product code on purpose, one change at a time,
# rebuilds and runs the named ctest labels; every change must turn them red.
#   scripts/mutate.sh [MUTATIONS-FILE] [BUILD-DIR]
# The file (default scripts/mutations.txt) and its format are described in
# scripts/mutate.py, which does the work. Files are restored afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/mutate.py "${1:-scripts/mutations.txt}" "${2:-build}"
