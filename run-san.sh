#!/usr/bin/env bash
# Installs what is missing, builds, and starts ORBISTAV on the given archive or on
# the bundled sample archive.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target orbistav orbistav-cli vx_tools >/dev/null

archive=${1:-examples/sample.vp}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "There is no display to show ORBISTAV on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Run it under a desktop or xvfb-run, or use the command-line companion:" >&2
  echo "  build/bin/orbistav-cli list $archive" >&2
  exit 1
fi
exec ./build/bin/orbistav "$archive"
