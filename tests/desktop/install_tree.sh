#!/usr/bin/env bash
# Installs the build into a scratch prefix, as `cmake --install` does for a
# user, and checks the result with the desktop's own validators.
#   install_tree.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: install_tree.sh BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/pdixtract
bin/zelvorn
share/applications/zelvorn.desktop
share/icons/hicolor/32x32/apps/zelvorn.png
share/icons/hicolor/scalable/apps/zelvorn.svg
share/man/man1/pdixtract.1
share/man/man1/zelvorn.1
share/metainfo/zelvorn.metainfo.xml"
actual=$(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "FAIL: installed files differ from the expected ones:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi
for program in zelvorn pdixtract; do
    [ -x "$prefix/bin/$program" ] || { echo "FAIL: bin/$program is not executable" >&2; exit 1; }
done

desktop-file-validate "$prefix/share/applications/zelvorn.desktop"
grep -qx 'Exec=zelvorn' "$prefix/share/applications/zelvorn.desktop" ||
    { echo "FAIL: the launcher must start zelvorn without arguments" >&2; exit 1; }

# The ID follows the desktop file's name, zelvorn.desktop (and the name the
# program gives itself), rather than a reverse domain name the project does
# not have; every other finding fails the test.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$prefix/share/metainfo/zelvorn.metainfo.xml"
# The tree check ties the metainfo to the desktop file and its icon.
appstreamcli validate-tree --no-net --override=cid-desktopapp-is-not-rdns=info "$prefix"

png_size=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/32x32/apps/zelvorn.png")
[ "$png_size" = 32x32 ] || { echo "FAIL: the 32-pixel icon is $png_size" >&2; exit 1; }
echo "install tree OK"
