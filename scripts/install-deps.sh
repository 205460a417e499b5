#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Zelvorn needs to build, run and test, from Debian's packages.
# Already-installed packages cost nothing. Needs root (or sudo).
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libarchive-dev
    libudfread-dev
    # the extractor's terminal window and the program's font
    xterm fonts-liberation2
    # tests: headless X, a keyboard robot, screenshots, disc images, GoogleTest
    xvfb xauth xdotool xclip x11-utils imagemagick xorriso genisoimage libgtest-dev libgmock-dev
    # the extractor's benchmark: the tools it is measured against
    libarchive-tools p7zip-full strace
    # desktop integration tests: the SVG icon drawn, validators, the .deb and
    # Debian's checkers for it and its copyright file, manual pages
    librsvg2-bin desktop-file-utils appstream dpkg-dev lintian python3-debian
    groff-base man-db
    # sanitizer build and fuzzing: clang, and libFuzzer from its runtime package
    clang libclang-rt-14-dev
    # Zelvorn.exe: the cross compiler, and Wine with its own fonts for its tests;
    # the Windows installer and the portable zip
    g++-mingw-w64-x86-64-posix wine64 fonts-wine nsis zip unzip
)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# pdixtract.exe links zlib, libarchive and libudfread built from Debian's source
# packages, which the build fetches with apt-get source: that needs a deb-src entry.
update=false
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
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
    # shellcheck disable=SC2086
    "${as_root[@]}" apt-get install -y -q --no-install-recommends ${packages[*]}
fi
