#!/usr/bin/env bash
# Starts Tuvanta from BIN (default build/bin). Later the simulator starts here too.
set -euo pipefail
BIN=$(cd "${1:-build/bin}" && pwd)
cd "$BIN"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: running under Xvfb" >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./Tuvanta
fi
exec ./Tuvanta
