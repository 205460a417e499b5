#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a user gets from `cmake --install` and from the Debian package, checked
# with the desktop's and Debian's own tools. One check a call:
#   desktop_checks.sh BUILD_DIR install_tree|validators|deb_package
set -euo pipefail
build=${1:?usage: desktop_checks.sh BUILD_DIR CHECK}
check=${2:?usage: desktop_checks.sh BUILD_DIR CHECK}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
id=org.zelvorn.Zelvorn
tree=$work/tree
cmake --install "$build" --prefix "$tree" >/dev/null
installed="bin/pdixtract
bin/zelvorn
share/applications/$id.desktop
share/doc/zelvorn/copyright
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/pdixtract.1.gz
share/man/man1/zelvorn.1.gz
share/metainfo/$id.metainfo.xml
share/mime/packages/$id.xml"
holds() {  # DIR FILES: the files under DIR are exactly FILES.
    diff <(echo "$2") <(cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort) >&2 || fail "$1 holds other files"
}

case $check in
install_tree)
    holds "$tree" "$installed"
    ! grep -rE 'example\.(org|com|net)' "$tree/share" || fail "a made-up address is installed"
    size=$(identify -format %wx%h "$tree/share/icons/hicolor/32x32/apps/$id.png")
    [ "$size" = 32x32 ] || fail "the 32-pixel icon is $size"
    # The SVG must look like the icon the program draws. Two renderers differ
    # by a little anti-aliasing (a mean of about 0.002); a changed colour,
    # stroke or shape by 0.008 and more.
    "$build/src/zelvorn_render_icon" 64 "$work/drawn.png"
    rsvg-convert -w 64 -h 64 -o "$work/svg.png" "$tree/share/icons/hicolor/scalable/apps/$id.svg"
    mean=$(compare -metric MAE "$work/drawn.png" "$work/svg.png" null: 2>&1 || true)
    mean=${mean#*\(} mean=${mean%\)}
    awk -v mean="${mean:-1}" 'BEGIN { exit !(mean < 0.004) }' ||
        fail "the SVG icon differs from the drawn one by $mean"
    ;;
validators)
    out=$(desktop-file-validate "$tree/share/applications/$id.desktop" 2>&1)
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    grep -qx "Icon=$id" "$tree/share/applications/$id.desktop" || fail "the launcher's icon is not $id"
    appstreamcli validate --no-net "$tree/share/metainfo/$id.metainfo.xml"
    # The tree check ties the metainfo to the launcher entry and its icon.
    appstreamcli validate-tree --no-net "$tree"
    # .pdi in any case is our type, and Zelvorn opens it, once the databases
    # are built where the files land (dpkg's triggers do that for the package).
    update-mime-database "$tree/share/mime"
    update-desktop-database "$tree/share/applications"
    touch "$work/x.PDI"
    export XDG_DATA_DIRS=$tree/share:/usr/share XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/home
    unset XDG_CURRENT_DESKTOP
    type=$(xdg-mime query filetype "$work/x.PDI")
    [ "$type" = application/x-pdi ] || fail "x.PDI is $type"
    [ "$(xdg-mime query default "$type")" = "$id.desktop" ] || fail "Zelvorn does not open $type"
    ;;
deb_package)
    # A maintainer for the test's own package, which never leaves this folder
    # (.test is the domain reserved for tests).
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" \
        -D "CPACK_PACKAGE_CONTACT=Desktop tests <desktop-tests@zelvorn.test>" \
        >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack could not pack"; }
    deb=$(echo "$work"/zelvorn_*.deb)
    dpkg-deb -x "$deb" "$work/root"
    holds "$work/root" "$(echo "$installed
share/doc/zelvorn/changelog.gz" | sed 's|^|usr/|' | LC_ALL=C sort)"
    depends=$(dpkg-deb -f "$deb" Depends)
    # From the linked libraries, and the platform plugin Qt loads at run time.
    for needed in libqt6widgets6 libarchive13 qt6-qpa-plugins; do
        grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
    done
    # The copyright file in Debian's machine-readable format, with a licence
    # text for every group of files.
    /usr/bin/python3 - "$work/root/usr/share/doc/zelvorn/copyright" <<'EOF' || fail "copyright file"
import sys
from debian.copyright import Copyright
copyright = Copyright(open(sys.argv[1]), strict=True)
texts = {p.license.synopsis for p in copyright.all_license_paragraphs()}
sys.exit(any(not p.license.text and p.license.synopsis not in texts
             for p in copyright.all_files_paragraphs()))
EOF
    # Stripped when packed, the extractor must still run.
    "$work/root/usr/bin/pdixtract" --help >"$work/help.txt" && grep -q '^Exit status:' "$work/help.txt" ||
        fail "the packed pdixtract fails"

    # No error and no warning: a manual page's groff warnings and a missing
    # NAME line for whatis among them.
    lintian --fail-on none "$deb" >"$work/lintian.txt" 2>&1 || fail "lintian failed: $(cat "$work/lintian.txt")"
    ! grep -E '^[EW]: ' "$work/lintian.txt" >&2 || fail "lintian: the lines above"
    ;;
*) fail "no such check: $check" ;;
esac
echo "$check OK"
