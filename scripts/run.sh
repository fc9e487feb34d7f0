#!/usr/bin/env bash
# Builds what is missing and starts the reader. Without a display (no X11 and
# no Wayland), it runs under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a build/bin/Pandecta-client "$@"
fi
exec build/bin/Pandecta-client "$@"
