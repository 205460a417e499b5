#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A plain build stays on Linux and fetches nothing: configures a fresh BUILD_DIR
# with no options, with an apt-get and an apt on PATH that fail loudly, and
# reads every command the build would run: none may call apt-get or the
# fetching script, cross-compile or run Wine. With --build it also runs the
# plain `cmake -S . -B DIR && cmake --build DIR` itself, under the same PATH.
#   bash scripts/check-plain-build.sh [--build] BUILD_DIR
set -euo pipefail
build=false
if [ "${1:-}" = --build ]; then build=true; shift; fi
dir=$(realpath -m "${1:?names the build folder to make afresh}")
cd "$(dirname "$0")/.."
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$dir"
mkdir -p "$dir/stub"
for tool in apt-get apt; do
    printf '#!/bin/sh\necho "%s called by a plain build: $*" | tee -a "%s" >&2\nexit 1\n' \
        "$tool" "$dir/stub/called" >"$dir/stub/$tool"
    chmod +x "$dir/stub/$tool"
done
export PATH="$dir/stub:$PATH"

if $build; then
    cmake -S . -B "$dir/tree" >"$dir/configure.log"
    cmake --build "$dir/tree" -j"$(nproc)" >"$dir/build.log" || fail "the plain build failed"
else
    cmake -S . -B "$dir/tree" -G Ninja >"$dir/configure.log"
    commands=$(ninja -C "$dir/tree" -t commands)
    [ -n "$commands" ] || fail "no build commands listed"
    ! grep -nE 'apt-get|fetch-debian-source|mingw|wine|makensis' <<<"$commands" ||
        fail "the plain build would run the commands above"
fi
[ ! -e "$dir/stub/called" ] || fail "apt was called: $(cat "$dir/stub/called")"
[ ! -e "$dir/tree/windows" ] || fail "the plain build made a Windows build folder"
if $build; then what="built"; else what="$(wc -l <<<"$commands") build commands read"; fi
echo "plain build: no apt-get, no cross-build, nothing fetched ($what)"
