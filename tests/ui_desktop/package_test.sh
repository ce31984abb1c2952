#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a scratch root
# and checks what a desktop needs from it: the programs, a valid desktop entry,
# the AppStream metainfo software centres list it by, the icons at their sizes,
# and Qt 6 runtime packages (and the keyring's) as dependencies.
#   package_test.sh BUILD_DIR CPACK
set -euo pipefail
build_dir=$1
cpack=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build_dir" && "$cpack" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) \
    || { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB failed"; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

root=$scratch/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr

for program in qiv qiv-localserver; do
    [ -x "$usr/bin/$program" ] || fail "usr/bin/$program missing or not executable"
done

desktop=$usr/share/applications/qiv.desktop
[ -f "$desktop" ] || fail "desktop entry missing"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
for line in "Name=Qiv" "Exec=qiv" "Icon=qiv" "Categories=Network;InstantMessaging;"; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
grep -q '^Comment=.' "$desktop" || fail "desktop entry lacks a Comment"

metainfo=$usr/share/metainfo/org.example.qiv.metainfo.xml
[ -f "$metainfo" ] || fail "AppStream metainfo missing"
appstreamcli validate --no-net --strict "$metainfo" || fail "metainfo does not validate"
# The tree check also finds the desktop entry the metainfo launches.
appstreamcli validate-tree --no-net "$usr" || fail "metainfo and desktop entry do not validate together"
# Its screenshots are the user guide's pictures, as the home page publishes them.
screenshots=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|<image>https://qiv.example.org/||; s|</image>||')
[ -n "$screenshots" ] || fail "metainfo has no screenshots"
for picture in $screenshots; do
    [ -f "$source_dir/$picture" ] || fail "screenshot $picture is not one of the guide's pictures"
done

icons=$usr/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/qiv.svg" || fail "scalable icon missing"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }
for size in 16 22 24 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/qiv.png
    [ -f "$png" ] || fail "icon ${size}x${size} missing"
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png"), not ${size}x${size}"
done

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libqt6svg6 libqt6sql6 libqt6keychain1 libsecret-1-0 qt6-qpa-plugins libqt6sql6-sqlite; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = qiv ] || fail "package is not named qiv"

# The unpacked program runs against the system's Qt.
version=$(QT_QPA_PLATFORM=offscreen "$usr/bin/qiv" --version 2>&1) || fail "unpacked qiv --version failed: $version"
grep -q '1\.0\.0' <<<"$version" || fail "unexpected version output: $version"
grep -qF '<release version="1.0.0"' "$metainfo" || fail "metainfo has no release 1.0.0"
echo "package ok: $(basename "$deb")"
