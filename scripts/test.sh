#!/usr/bin/env bash
# Sets up, builds everything and runs the whole test suite: the same suite
# under AddressSanitizer, LeakSanitizer and UBSan with a bounded fuzzing run
# of each fuzzer, the benchmarks in their smoke size, then the unit and
# end-to-end tests with the real-window, Windows and package tests.
# Usage: scripts/test.sh [SECONDS_PER_FUZZER]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
scripts/sanitize.sh "${1:-60}"
echo "== benchmark smoke run"
python3 bench/run.py --build build --smoke >/dev/null
python3 bench/profile.py --build build --smoke >/dev/null
echo "== test suite"
ctest --test-dir build --output-on-failure -j"$(nproc)"
