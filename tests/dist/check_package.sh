#!/bin/sh
# Builds the Debian package from the build folder, unpacks it into a scratch
# folder and checks it as installed: the unpacked korvelc finds its own
# libkorvel and writes what the build's korvelc writes, the files of the
# installation are there, and the desktop entry and the AppStream metadata
# validate.
#   check_package.sh BUILD_DIR SOURCE_DIR VERSION LIBRARY_DIR
# LIBRARY_DIR: libkorvel's folder under the prefix, as installed.
set -eu
build="$1"
source="$2"
version="$3"
libdir="$4"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/korvel-package-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "package: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb="$scratch/out/korvel_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
dpkg-deb -f "$deb" Depends | grep -q "libqt6core6" || fail "Depends lacks Qt: $(dpkg-deb -f "$deb" Depends)"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/korvel usr/bin/korvelc "usr/$libdir/libkorvel.so" usr/share/korvel/help/index.html \
    usr/share/korvel/help/index_en.html \
    usr/share/korvel/icon/green.bmp usr/share/applications/org.example.korvel.desktop \
    usr/share/icons/hicolor/256x256/apps/korvel.png usr/share/metainfo/org.example.korvel.metainfo.xml \
    usr/share/man/man1/korvelc.1 usr/share/man/man1/korvel.1; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done

[ "$("$root/usr/bin/korvelc" --version)" = "korvelc $version" ] || fail "korvelc --version is not $version"
# Nothing from the build folder may stand in for the installed library.
env -u LD_LIBRARY_PATH "$root/usr/bin/korvelc" mib "$source/docs/sample.mdf" "$scratch/installed.mib" \
    || fail "the unpacked korvelc failed"
"$build/korvelc" mib "$source/docs/sample.mdf" "$scratch/built.mib"
cmp -s "$scratch/installed.mib" "$scratch/built.mib" || fail "the unpacked korvelc wrote another module"

desktop-file-validate "$root/usr/share/applications/org.example.korvel.desktop" \
    || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.korvel.metainfo.xml" >"$scratch/appstream.log" 2>&1 \
    || { cat "$scratch/appstream.log" >&2; fail "the AppStream metadata does not validate"; }
echo "package: $(basename "$deb") checked"
