#!/usr/bin/env bash
# Sets up, builds everything and runs the whole test suite: the unit and
# end-to-end tests, the real-window, Windows and package tests, the same
# suite again under AddressSanitizer, LeakSanitizer and UBSan, a bounded
# fuzzing run of each fuzzer, and the benchmarks in their smoke size.
# Usage: scripts/test.sh [SECONDS_PER_FUZZER]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
ctest --test-dir build --output-on-failure -j"$(nproc)"
scripts/sanitize.sh "${1:-60}"
echo "== benchmark smoke run"
python3 bench/run.py --build build --smoke >/dev/null
python3 bench/profile.py --build build --smoke >/dev/null
echo "benchmarks ran"
