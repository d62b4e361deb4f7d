#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration of the programs into build-package/
# and makes the Debian package from it, then checks the package (dependencies declared, the
# programs run from the unpacked files). The .deb is left in build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTELVANE_BENCH=OFF
# Only what the package holds: the tests are built and run by scripts/test.sh.
cmake --build build-package -j "$(nproc)" --target telvane telvane-cli telvane_desktop_files
(cd build-package && cpack -G DEB)
deb="$(ls build-package/telvane_*.deb)"
bash scripts/check-package.sh "$deb" build-package/package-check
echo "Package: $deb"
