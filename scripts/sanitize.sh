#!/usr/bin/env bash
# Builds Plyfold and its tests with clang's AddressSanitizer, leak checking
# and UndefinedBehaviorSanitizer in build-sanitize/, runs the test suite
# there (any finding fails it), then runs each fuzzer for a bounded time
# over seeds made by the tests' own fixture code.
# Usage: scripts/sanitize.sh [SECONDS_PER_FUZZER]   (default 60; 0: none)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
flags="-fsanitize=address,undefined -fno-sanitize-recover=all"
flags+=" -fno-omit-frame-pointer -fsanitize=fuzzer-no-link"
CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DPLYFOLD_BUILD_FUZZERS=ON -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build-sanitize -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The real-window, Windows and package tests exercise no code of ours that
# the main suite does not; GTK's own allocations would drown the leak report.
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" \
  -LE 'gui|windows|package'

[ "$seconds" -gt 0 ] || exit 0
fuzz=build-sanitize/fuzz
rm -rf "$fuzz/seeds" "$fuzz/corpus"
mkdir -p "$fuzz/seeds/join" "$fuzz/seeds/list_file" "$fuzz/corpus/join" \
  "$fuzz/corpus/list_file"
"$fuzz/make_seeds" "$fuzz/seeds/join" "$fuzz/seeds/list_file"
for target in list_file join; do
  echo "== fuzzing $target for ${seconds}s"
  "$fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 \
    "$fuzz/corpus/$target" "$fuzz/seeds/$target" \
    "fuzz/regressions/$target" 2>"$fuzz/$target.log" ||
    { tail -60 "$fuzz/$target.log"; exit 1; }
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$fuzz/$target.log"
done
