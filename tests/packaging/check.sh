#!/usr/bin/env bash
# Checks of what the build installs and packages. Usage:
#   check.sh CHECK BUILD_DIR VERSION NUMERIC APP_ID
# with the displayed version (1.01), the version record's (1.1.0.0) and the application id
# (which names the desktop entry, the metainfo and the icons) of cmake/Version.cmake.
#   install   install into a temporary prefix and check the files that land there
#   desktop   desktop-file-validate on the desktop entry
#   metainfo  appstreamcli validate --no-net on the AppStream metainfo
#   deb       make the Debian package with CPack and run lintian on it
#   rc        the generated Windows version resource carries the version record
# Exit status 77 means skipped: the tool the check needs is not installed.
set -euo pipefail
check=$1
build=$(cd "$2" && pwd)
version=$3
numeric_commas=${4//./,}
app_id=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

skip_without() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "SKIPPED: $1 is not installed (scripts/test installs it)"
        exit 77
    fi
}

expect_file() {
    [ -f "$1" ] || { echo "missing: ${1#"$work"/}"; exit 1; }
}

case "$check" in
install)
    cmake --install "$build" --prefix "$work/usr" >/dev/null
    for program in kaleno kaleno-solve; do
        [ -x "$work/usr/bin/$program" ] || { echo "missing program: bin/$program"; exit 1; }
    done
    expect_file "$work/usr/share/applications/$app_id.desktop"
    expect_file "$work/usr/share/metainfo/$app_id.metainfo.xml"
    for size in 16 32 48 64 128 256; do
        expect_file "$work/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    done
    expect_file "$work/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    expect_file "$work/usr/share/man/man6/kaleno.6.gz"
    expect_file "$work/usr/share/man/man6/kaleno-solve.6.gz"
    expect_file "$work/usr/share/doc/kaleno/copyright"
    # The installed tool runs, and knows its version.
    [ "$("$work/usr/bin/kaleno-solve" --version)" = "kaleno-solve $version" ] || { echo "wrong --version"; exit 1; }
    echo "installed as expected"
    ;;
desktop)
    skip_without desktop-file-validate
    desktop-file-validate "$build/packaging/$app_id.desktop"
    echo "desktop entry valid"
    ;;
metainfo)
    skip_without appstreamcli
    appstreamcli validate --no-net "$build/packaging/$app_id.metainfo.xml"
    ;;
deb)
    skip_without lintian
    skip_without dpkg-shlibdeps
    (cd "$build" && cpack -G DEB -B "$work" >/dev/null)
    deb=$(ls "$work"/kaleno_${version}_*.deb)
    contents=$(dpkg-deb -c "$deb")
    grep -q './usr/bin/kaleno$' <<<"$contents" || { echo "no kaleno in the package"; exit 1; }
    depends=$(dpkg-deb -f "$deb" Depends)
    grep -q 'libqt6widgets6' <<<"$depends" || { echo "no Qt in Depends"; exit 1; }
    grep -qF 'fonts-liberation2 | fonts-liberation' <<<"$depends" || { echo "no narrow face in Depends"; exit 1; }
    lintian --fail-on error --tag-display-limit 0 "$deb"
    echo "$(basename "$deb"): lintian finds no error"
    ;;
rc)
    rc="$build/generated/kaleno.rc"
    for line in "FILEVERSION $numeric_commas" "PRODUCTVERSION $numeric_commas" 'FILEOS 0x4L' 'FILETYPE 0x1L' 'BLOCK "040C04B0"' \
        'VALUE "ProductName", "kaleno"' 'VALUE "FileVersion", "'"$version"'"' 'VALUE "InternalName", "kaleno"' \
        'VALUE "OriginalFilename", "kaleno.exe"' 'VALUE "Translation", 0x040C, 0x04B0'; do
        grep -qF "$line" "$rc" || { echo "the version resource lacks: $line"; exit 1; }
    done
    echo "version resource complete"
    ;;
*)
    echo "unknown check: $check" >&2
    exit 2
    ;;
esac
