#!/usr/bin/env bash
# Checks that Umbrascope installs like a desktop program:
#   - a packaging configuration needs neither GoogleTest nor Google Benchmark;
#   - the desktop entry and the AppStream data validate;
#   - `cpack -G DEB` in the build folder makes a package holding the
#     programs, the desktop entry, the icons, the metainfo and the manual
#     pages, and lintian finds no error in it.
#
#   scripts/check-package.sh <build-dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "$1")

fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/umbrascope-package-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

echo "== A packaging configuration finds no test or benchmark library"
cmake -S "$root" -B "$scratch/configure" -G Ninja -DUMBRASCOPE_TESTS=OFF -DUMBRASCOPE_BENCH=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  >"$scratch/configure.log" 2>&1 || { cat "$scratch/configure.log" >&2; fail "packaging configuration"; }

echo "== Desktop entry and AppStream data"
desktop-file-validate "$root/data/org.umbrascope.Umbrascope.desktop"
appstreamcli validate --no-net "$root/data/org.umbrascope.Umbrascope.metainfo.xml"

echo "== Debian package"
(cd "$build" && cpack -G DEB -B "$scratch/deb" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$scratch"/deb/umbrascope_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$scratch/contents"
for path in /usr/bin/umbrascope /usr/bin/umbrascope-watch /usr/bin/umbrascope-history /usr/bin/presence-sim \
            /usr/share/applications/org.umbrascope.Umbrascope.desktop \
            /usr/share/metainfo/org.umbrascope.Umbrascope.metainfo.xml \
            /usr/share/icons/hicolor/scalable/apps/umbrascope.svg \
            /usr/share/icons/hicolor/48x48/apps/umbrascope.png \
            /usr/share/icons/hicolor/256x256/apps/umbrascope.png \
            /usr/share/man/man1/umbrascope-watch.1.gz /usr/share/man/man1/umbrascope-history.1.gz \
            /usr/share/doc/umbrascope/copyright; do
  grep -qx "$path" "$scratch/contents" || fail "the package lacks $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6webenginewidgets6 libqt6widgets6 fonts-wqy-microhei fonts-liberation fonts-arphic-uming; do
  [[ "$depends" == *"$package"* ]] || fail "the package does not depend on $package ($depends)"
done

# Errors fail; warnings and notes are shown.
lintian --tag-display-limit 0 --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --tag-display-limit 0 --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"
echo "PASS: $(basename "$deb")"
