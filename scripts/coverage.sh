#!/usr/bin/env bash
# Line and branch coverage of the core by its tests: builds the core with gcov counting in
# build-coverage/, runs its tests, prints the figures per folder and writes an HTML report to
# build-coverage/coverage/index.html.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-coverage -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTELVANE_GUI=OFF \
    -DTELVANE_COVERAGE=ON -DTELVANE_BENCH=OFF >/dev/null
cmake --build build-coverage -j "$(nproc)" >/dev/null
find build-coverage -name '*.gcda' -delete
(cd build-coverage && ctest -j "$(nproc)" >/dev/null)
mkdir -p build-coverage/coverage
for folder in src/model src/fileio src/document src/road src/texts src/link src/plot; do
    gcovr --root . --filter "$folder/" --object-directory build-coverage --print-summary \
        --exclude-throw-branches --exclude-unreachable-branches 2>&1 |
        grep -E '^(lines|branches):' | sed "s#^#$folder #"
done
gcovr --root . --filter 'src/' --exclude 'src/cli/' --object-directory build-coverage \
    --exclude-throw-branches --exclude-unreachable-branches \
    --html-details build-coverage/coverage/index.html
echo "report: build-coverage/coverage/index.html"
