#!/usr/bin/env bash
# Start-up cost: joining two 1-page 64x64 files with plyfold, with plyfold
# built without any dialog code, and with a program linked with libtiff
# alone. A run that shows no message must not pay for the dialog toolkit.
# Usage: bench/startup.sh [BUILD_FOLDER] [RUNS]
set -euo pipefail
build=${1:-build} runs=${2:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/make_workload" tiny "$work"
a=$work/in0.tif b=$work/in1.tif
# A display is named, as on a desktop: plyfold must still not load GTK.
export DISPLAY=${DISPLAY:-:0}
hyperfine -N --style basic --warmup 20 --runs "$runs" \
  --export-markdown "$work/table.md" \
  -n plyfold "$build/plyfold $a $b $work/out1.tif" \
  -n "plyfold without dialog code" "$build/plyfold_no_dialog $a $b $work/out2.tif" \
  -n "libtiff only" "$build/libtiff_only_join $a $b $work/out3.tif" \
  >/dev/null 2>"$work/hyperfine.log"
cat "$work/table.md"
