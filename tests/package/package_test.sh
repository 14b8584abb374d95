#!/usr/bin/env bash
# What is shipped is what is tested: builds the Debian package, checks its
# dependencies and contents, unpacks it into a scratch folder and joins the
# sample files with the unpacked plyfold.
# Usage: package_test.sh BUILD_FOLDER MAKE_SAMPLES
set -uo pipefail
build=$1 make_samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/plyfold_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "no package built"; exit 1; }
echo "== $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
grep -q 'libtiff6' <<<"$depends" || fail "libtiff is not a dependency"
grep -q 'gtk' <<<"$depends" && fail "GTK must only be recommended"
grep -q 'libgtk-3-0' <<<"$recommends" || fail "GTK is not recommended"

dpkg -x "$deb" "$work/root"
plyfold=$work/root/usr/bin/plyfold
[ -x "$plyfold" ] || fail "no usr/bin/plyfold in the package"
zcat "$work/root/usr/share/man/man1/plyfold.1.gz" 2>/dev/null | grep -q '^\.SH "LIST FILE"' ||
  fail "no man page in the package"
[ "$(dpkg-deb -c "$deb" | grep -c -v '/$')" -eq 2 ] ||
  fail "the package holds more than the program and its man page"

mkdir "$work/join" && cd "$work/join" && "$make_samples" . || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY "$plyfold" fax.tif photo.tif joined.tif >progress ||
  fail "the unpacked plyfold failed"
pages=$(tiffinfo joined.tif 2>/dev/null | grep -c 'TIFF Directory')
[ "$pages" -eq 3 ] || fail "joined.tif holds $pages pages, expected 3"

[ "$failures" -eq 0 ] && echo "package test: all checks passed"
exit $((failures > 0))
