#!/usr/bin/env bash
# Sets up, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
ctest --test-dir build --output-on-failure -j"$(nproc)"
