#!/usr/bin/env bash
# Builds the Debian package from the build folder's programs, as `cpack`
# does for a user, and inspects it: the files, the declared dependencies, and
# that the packed (stripped) extractor still runs.
#   deb_package.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: deb_package.sh BUILD_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
shopt -s nullglob
debs=("$work"/zelvorn_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one zelvorn_*.deb, found ${#debs[@]}"
deb=${debs[0]}

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
expected="./usr/bin/pdixtract
./usr/bin/zelvorn
./usr/share/applications/zelvorn.desktop
./usr/share/icons/hicolor/32x32/apps/zelvorn.png
./usr/share/icons/hicolor/scalable/apps/zelvorn.svg
./usr/share/man/man1/pdixtract.1
./usr/share/man/man1/zelvorn.1
./usr/share/metainfo/zelvorn.metainfo.xml"
if [ "$files" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$files") >&2 || true
    fail "the package holds other files than expected"
fi

[ "$(dpkg-deb -f "$deb" Package)" = zelvorn ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
# The package names alone, one a line, without version constraints.
depends_names=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
# Found by dpkg-shlibdeps in the linked libraries, plus the X11 platform
# plugin that Qt loads at run time.
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libarchive13 libc6 libstdc++6 \
    qt6-qpa-plugins; do
    grep -Fxq "$needed" <<<"$depends_names" || fail "Depends lacks $needed: $depends"
done
grep -q xterm <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks xterm"

# The packed programs are stripped; the extractor must still run from the
# unpacked tree.
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/pdixtract" --help | grep -q '^Exit status:' ||
    fail "the packed pdixtract does not run"
echo "package OK: $(basename "$deb"), Depends: $depends"
