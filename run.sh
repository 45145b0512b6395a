#!/usr/bin/env bash
# Installs what is missing, builds, and starts ORBISTAV on the given archive or on
# the bundled sample archive.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target orbistav-cli >/dev/null

archive=${1:-examples/sample.vp}
exec ./build/bin/orbistav-cli list "$archive"
