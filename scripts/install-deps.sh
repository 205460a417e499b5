#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, from Debian's packages, what one job needs, and nothing more:
#   bash scripts/install-deps.sh PROFILE...       (needs root, or sudo)
#   bash scripts/install-deps.sh --list PROFILE... (prints the packages only)
# Profiles:
#   run       build Zelvorn and our pdixtract, and run them (scripts/run.sh)
#   windows   cross-build Zelvorn.exe, pdixtract.exe and their packages
#             (scripts/build-windows.sh); adds a deb-src entry to apt's sources
#   test      every test of scripts/test.sh, the Wine tests included
#   sanitize  every Linux test under the sanitizers (scripts/test-sanitizers.sh)
#   fuzz      the fuzz targets (scripts/fuzz.sh)
#   format    the format check (scripts/check-format.sh)
#   bench     the benchmarks, run by hand
# Already-installed packages cost nothing.
set -euo pipefail

# Building and running: the compiler and libraries, the extractor's terminal
# window, the program's font, and Xvfb for running without a display.
run=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libarchive-dev
    libudfread-dev xterm fonts-liberation2 xvfb xauth)
# The cross compiler; dpkg-dev unpacks Debian's sources of the libraries
# pdixtract.exe links; GoogleTest's sources for pdixtract's suite on Windows;
# the installer and the portable zip.
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix dpkg-dev googletest nsis zip)
# The Linux tests: a keyboard robot, the clipboard, screenshots, disc images,
# GoogleTest, what a screen reader reads (AT-SPI on its own D-Bus session);
# the desktop checks: the SVG icon drawn, validators, the file type as a file
# manager asks for it, the .deb and Debian's checkers for it and its copyright
# file, manual pages.
linux_tests=(xdotool xclip x11-utils imagemagick xorriso genisoimage libgtest-dev libgmock-dev
    dbus-daemon at-spi2-core python3-pyatspi
    librsvg2-bin desktop-file-utils appstream xdg-utils libfile-mimeinfo-perl
    dpkg-dev lintian python3-debian groff-base man-db)
# The Wine tests: Wine with its own fonts; unzip opens the portable zip.
wine_tests=(wine64 fonts-wine unzip)
# The sanitizers and libFuzzer come with clang and its runtime package.
clang=(clang libclang-rt-14-dev)
# The tools the extractor's benchmark is measured against, and its images.
bench=(xorriso libarchive-tools p7zip-full strace)

list=false
if [ "${1:-}" = --list ]; then list=true; shift; fi
[ $# -gt 0 ] || { sed -n '3,15s/^# \{0,1\}//p' "$0" >&2; exit 2; }
packages=()
deb_src=false
for profile in "$@"; do
    case $profile in
        run) packages+=("${run[@]}") ;;
        windows) packages+=("${windows[@]}") deb_src=true ;;
        test) packages+=("${run[@]}" "${linux_tests[@]}" "${windows[@]}" "${wine_tests[@]}")
            deb_src=true ;;
        sanitize) packages+=("${run[@]}" "${linux_tests[@]}" "${clang[@]}") ;;
        fuzz) packages+=("${run[@]}" "${clang[@]}") ;;
        format) packages+=(clang-format) ;;
        bench) packages+=("${run[@]}" "${bench[@]}") ;;
        *) echo "install-deps: no profile $profile (run, windows, test, sanitize, fuzz, format," \
            "bench)" >&2; exit 2 ;;
    esac
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)
if $list; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# pdixtract.exe links zlib, libarchive and libudfread built from Debian's source
# packages, which the Windows build fetches with apt-get source: that needs a
# deb-src entry. No other job does.
update=false
if $deb_src && ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list \
    /etc/apt/sources.list.d/; then
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    update=true
fi
missing=$(dpkg-query -W -f '${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null |
    awk '$2 != "ii" { print $1 }'; for p in "${packages[@]}"; do
        dpkg-query -W "$p" >/dev/null 2>&1 || echo "$p"; done)
if [ -n "$missing" ] || $update; then
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}"
fi
