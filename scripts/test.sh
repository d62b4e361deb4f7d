#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the Release build a package is made from (window program included, warnings as errors) and
# the core again under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

JOBS=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELVANE_WERROR=ON
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTELVANE_GUI=OFF -DTELVANE_SANITIZE=ON \
    -DTELVANE_WERROR=ON \
    -DTELVANE_BENCH=OFF
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$JOBS")
