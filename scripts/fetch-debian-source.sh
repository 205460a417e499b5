#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks the Debian source package of each PACKAGE, Debian's patches applied,
# into DIR/PACKAGE (whatever its version), unless it is there already:
#   bash scripts/fetch-debian-source.sh DIR PACKAGE...
# Needs a deb-src entry in apt's sources and dpkg-dev (scripts/install-deps.sh windows).
set -euo pipefail
dir=$1
shift
mkdir -p "$dir"
for package in "$@"; do
    # Every unpacked Debian source has debian/; the build may have made empty folders.
    [ -d "$dir/$package/debian" ] && continue
    work=$(mktemp -d "$dir/.fetch.XXXXXX")
    if ! (cd "$work" && apt-get source -q "$package") >"$work.log" 2>&1; then
        cat "$work.log" >&2
        echo "cannot fetch the Debian source of $package: is there a deb-src entry" \
            "(bash scripts/install-deps.sh windows)?" >&2
        rm -rf "$work" "$work.log"
        exit 1
    fi
    # apt-get source unpacks into PACKAGE-VERSION beside the downloaded files.
    rm -rf "${dir:?}/$package"
    mv "$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n1)" \
        "$dir/$package"
    rm -rf "$work" "$work.log"
done
