#!/usr/bin/env bash
# Installs the Debian packages Telvane needs to build, test and run.
# Does nothing when all of them are already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-serialport-dev libqt6serialport6 qt6-svg-dev libqt6svg6
  libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev gcovr
  libpugixml-dev libxml2-utils
  clang libclang-rt-14-dev
  fonts-wqy-microhei
  desktop-file-utils
  locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The number-conversion tests run under a locale with a decimal comma.
ensure_test_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale for the tests"
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -eq 0 ]; then
  ensure_test_locale
  exit 0
fi

# Another apt or dpkg (unattended upgrades, a second terminal) may hold the lock.
wait_for_dpkg_lock() {
  command -v fuser >/dev/null 2>&1 || return 0  # apt's own lock timeout still applies
  local waited=0
  while fuser /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock >/dev/null 2>&1; do
    if [ $waited -eq 0 ]; then echo "Waiting for another package manager to finish..."; fi
    sleep 3
    waited=$((waited + 3))
    if [ $waited -ge 900 ]; then echo "dpkg lock still held after 15 minutes" >&2; exit 1; fi
  done
}

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
wait_for_dpkg_lock
$SUDO apt-get -o DPkg::Lock::Timeout=900 update
wait_for_dpkg_lock
$SUDO apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
ensure_test_locale
