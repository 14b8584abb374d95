#!/usr/bin/env bash
# Sets up, builds, makes three sample TIFF files (a two-page fax, a colour
# page and a grey page) and joins them in list mode into demo/joined.tif.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh plyfold plyfold_make_samples >/dev/null

mkdir -p demo
rm -f demo/joined.tif
build/plyfold_make_samples demo
echo "\$ plyfold /L demo/pages.txt demo/joined.tif"
build/plyfold /L demo/pages.txt demo/joined.tif
echo
echo "\$ tiffinfo demo/joined.tif (summary)"
tiffinfo demo/joined.tif 2>/dev/null |
  grep -E 'TIFF Directory|Image Width|Bits/Sample|Compression Scheme|Photometric'
pages=$(tiffinfo demo/joined.tif 2>/dev/null | grep -c 'TIFF Directory')
echo
echo "demo/joined.tif holds $pages pages (2 fax + 1 colour + 1 grey)."
[ "$pages" -eq 4 ]
