#!/usr/bin/env bash
# Checks the program as a desktop package: validates the desktop entry and the AppStream
# metainfo, builds the Debian package with CPack, checks that it declares the library
# dependencies dpkg-shlibdeps computed and Qt's translations, unpacks it into a temporary folder and runs the
# unpacked program's --version.
# Usage: scripts/package-check.sh [build folder]
# The build folder defaults to the one scripts/test.sh built (only `stolvar` is built again);
# a folder that does not exist yet is configured as a Release build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${STOLVAR_BUILD_DIR:-$root/build-test}}
"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTOLVAR_WERROR=ON \
    -DSTOLVAR_TESTS=OFF -DSTOLVAR_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target stolvar

desktop-file-validate "$root/share/com.example.stolvar.desktop"
appstreamcli validate --no-net "$build/share/com.example.stolvar.metainfo.xml"

rm -f "$build"/stolvar_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/stolvar_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "no package built" >&2; exit 1; }
echo "package: $deb"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libqt6core6 libqt6widgets6 libqt6dbus6 libqt6network6 libqt6charts6 libsqlcipher0 libgcrypt20 \
               libboost-regex qt6-translations-l10n; do
  grep -q "$library" <<<"$depends" || { echo "Depends lacks $library" >&2; exit 1; }
done
dpkg-deb -I "$deb" | grep -q "^ Depends: $depends" || { echo "dpkg-deb -I does not list Depends" >&2; exit 1; }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for file in usr/bin/stolvar usr/share/applications/com.example.stolvar.desktop \
            usr/share/metainfo/com.example.stolvar.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/stolvar.svg usr/share/icons/hicolor/48x48/apps/stolvar.png \
            usr/share/icons/hicolor/256x256/apps/stolvar.png usr/lib/stolvar/libstolvar-curve-chart.so; do
  [ -f "$unpacked/$file" ] || { echo "package lacks $file" >&2; exit 1; }
done
# Qt Charts comes with the curve chart module, when a curve is first shown, not with every start.
if readelf -d "$unpacked/usr/bin/stolvar" | grep -q 'libQt6Charts'; then
  echo "the program links Qt Charts itself" >&2; exit 1
fi
version=$("$unpacked/usr/bin/stolvar" --version)
expected="stolvar $(sed -n 's/^project(stolvar VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ "$version" = "$expected" ] || { echo "--version said '$version', expected '$expected'" >&2; exit 1; }
echo "unpacked program: $version"
echo "package check passed"
