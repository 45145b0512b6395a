#!/usr/bin/env bash
# Time from process start to the main window shown with a 16384-file archive open,
# without the splash wait, over several runs; and the program's peak memory then.
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-9}
cmake --build "$build" --target orbistav orbistav_make_full_archives orbistav_peak_rss >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bin/orbistav_make_full_archives" "$tmp"
export QUILLMOOR_REGISTRY_DIR="$tmp/registry" ORBISTAV_SPLASH_MS=0 ORBISTAV_EXIT_AFTER_START=1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
inner=()
whole=()
for _ in $(seq "$runs"); do
  t0=$(date +%s%N)
  t=$("$build/bin/orbistav" "$tmp/full.vp" 2>&1 | sed -n 's/.*shown after \([0-9]*\) ms.*/\1/p')
  t1=$(date +%s%N)
  inner+=("$t")
  whole+=("$(( (t1 - t0) / 1000000 ))")
done
echo "main() to main window shown, full.vp open: median $(printf '%s\n' "${inner[@]}" | median) ms"
echo "whole process, exec to exit: median $(printf '%s\n' "${whole[@]}" | median) ms"
printf 'orbistav with full.vp open: '
"$build/bin/orbistav_peak_rss" "$build/bin/orbistav" "$tmp/full.vp" 2>&1 | tail -1
