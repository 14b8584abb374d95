#!/usr/bin/env bash
# Installs what the build needs (Debian packages) when it is missing, then
# configures and builds Plyfold in build/.
# Usage: setup.sh [--tests] [TARGET...]
#   --tests  also install what the whole test suite runs on (a virtual X
#            display and its tools, mingw-w64 and wine, the packaging tools,
#            clang and its sanitizer and fuzzer runtimes, python3 for the
#            benchmark smoke run, GNU time and valgrind for its measurements)
#   TARGET   targets to build; none builds everything
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ make cmake pkg-config libtiff-dev libtiff-tools libgtk-3-dev
  libgtest-dev)
if [ "${1:-}" = --tests ]; then
  shift
  packages+=(xvfb openbox xdotool xclip x11-utils imagemagick
    mingw-w64 wine wine64 dpkg-dev file clang libclang-rt-14-dev python3 time
    valgrind)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# Configuring again is quick and finds tools installed since the last run.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
