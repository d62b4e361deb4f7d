#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the Release build a package is made from (window program included, warnings as errors) and
# the core again under ASan + UBSan, and random use of the windows under them.
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

# Random use of both windows, the windows built with ASan + UBSan: about a minute of steps. A
# longer run: build-asan-gui/tests/random/telvane_random_use --steps N [--seed N].
cmake -S . -B build-asan-gui -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTELVANE_SANITIZE=ON \
    -DTELVANE_WERROR=ON -DTELVANE_BENCH=OFF
cmake --build build-asan-gui -j "$JOBS" --target telvane_random_use
# Qt and the font library keep caches to the end of the program: leaks are not looked for here.
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    build-asan-gui/tests/random/telvane_random_use --steps 60000 --seed 20261210 \
    --corpus fuzz --corpus examples
# The same with the program's real dialogs, answered by keys and clicks a moment after they
# show, and texts typed key by key into the real cell editors: about a minute.
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    build-asan-gui/tests/random/telvane_random_use --real-dialogs --steps 10000 --seed 20261211 \
    --corpus fuzz --corpus examples

# Line and branch coverage of the core, per folder (report in build-coverage/coverage/).
bash scripts/coverage.sh
