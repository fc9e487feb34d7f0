#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages (only what
# is missing), then configures and builds.
#
#   bash scripts/setup.sh            the normal build, in build/
#   bash scripts/setup.sh --asan     also the sanitizer build of the non-window code, in build-asan/
#   bash scripts/setup.sh --packages only the packages, no build
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake ninja-build g++ pkg-config
  zlib1g-dev qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  liburing-dev
  fonts-dejavu-core xvfb xauth
  tango-icon-theme fonts-liberation2
  lighttpd lighttpd-mod-openssl tinyproxy openssl
  qt6-translations-l10n
  clang libclang-rt-14-dev clang-format
  dpkg-dev desktop-file-utils appstream lintian man-db
)

install_missing_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Instalando: ${missing[*]}"
  # Refresh the package lists only when an install from the current lists fails.
  if ! $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"; then
    $sudo apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
  fi
}

configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  ninja -C "$dir" -j2
}

install_missing_packages
[ "${1:-}" = "--packages" ] && exit 0
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${1:-}" = "--asan" ]; then
  configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DPANDECTA_SANITIZE=ON -DPANDECTA_GUI=OFF -DPANDECTA_BENCH=OFF
fi
