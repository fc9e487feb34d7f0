#!/usr/bin/env bash
# Builds the Debian packages into dist/:
#   dist/pandecta_VERSION_ARCH.deb       the reader, pandecta-tool, help, demo collection
#   dist/liblexdex2_VERSION_ARCH.deb     the word-index engine
#   dist/liblexdex-dev_VERSION_ARCH.deb  its header, pkg-config and CMake files
# Reuses the normal build in build/ (set up and brought up to date first), for
# the prefix /usr.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
ninja -C build -j2
rm -rf dist
(cd build && cpack -G DEB)
ls -l dist/*.deb
