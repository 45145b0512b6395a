#!/usr/bin/env bash
# Time from process start to the main window shown with a game folder of 32 .VPs holding
# 16000 entries open, against the same entries as one .VP (median of RUNS, no splash wait);
# and the program's peak memory with each.
#   bench/startup_game_folder.sh [BUILD_DIR] [RUNS]     (default: build 9)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-9}
cmake --build "$build" --target orbistav orbistav_make_game_folders orbistav_peak_rss >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bin/orbistav_make_game_folders" "$tmp" >/dev/null
export QUILLMOOR_REGISTRY_DIR="$tmp/registry" ORBISTAV_SPLASH_MS=0 ORBISTAV_EXIT_AFTER_START=1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
shown_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    times+=("$("$build/bin/orbistav" "$@" 2>&1 | sed -n 's/.*shown after \([0-9]*\) ms.*/\1/p')")
  done
  printf '%s\n' "${times[@]}" | median
}
# An empty list: the folder alone, without the Mods dialog.
one=$(shown_ms "$tmp/one/root.vp")
many=$(shown_ms "$tmp/many" --mod "")
echo "main window shown, one .VP of 16000 entries: median $one ms"
echo "main window shown, game folder of 32 .VPs, same entries: median $many ms" \
  "($(awk -v a="$many" -v b="$one" 'BEGIN { printf "%.2f", a / b }')x, goal 1.3)"
for what in "$tmp/one/root.vp" "$tmp/many --mod="; do
  printf '%s: ' "${what#"$tmp/"}"
  # shellcheck disable=SC2086
  "$build/bin/orbistav_peak_rss" "$build/bin/orbistav" $what 2>&1 | tail -1
done
