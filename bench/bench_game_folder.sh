#!/usr/bin/env bash
# Whole-process `orbistav-cli list` of game folders against one archive of the same
# entries: time (median of RUNS) and peak resident memory, plain and --json.
#   one.vp       the 16000 entries as one .VP, listed as an archive
#   one/         the game folder holding that .VP
#   many/        the same 16000 entries in 32 .VPs (16 in the game folder, 16 in data/)
#   big/         64000 entries in 32 .VPs
#   bench/bench_game_folder.sh [BUILD_DIR] [RUNS]     (default: build 15)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-15}
cmake --build "$build" --target orbistav-cli orbistav_make_game_folders orbistav_peak_rss >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bin/orbistav_make_game_folders" "$tmp"
cli="$build/bin/orbistav-cli"

median_ms() {
  local times=() t0 t1
  for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    "$cli" "$@" >/dev/null
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p" |
    awk '{ printf "%.1f", $1 / 1000 }'
}
peak_mb() {
  "$build/bin/orbistav_peak_rss" "$cli" "$@" 2>&1 >/dev/null | sed -n 's/.*memory: \([0-9.]*\) MB.*/\1/p'
}

printf '%-8s %10s %10s %8s %10s\n' what plain_ms json_ms ratio json_MB
declare -A json_ms json_mb
for what in one.vp one many big; do
  target="$tmp/$what"
  [ "$what" = one.vp ] && target="$tmp/one/root.vp"
  plain=$(median_ms list "$target")
  json=$(median_ms list --json "$target")
  mb=$(peak_mb list --json "$target")
  json_ms[$what]=$json
  json_mb[$what]=$mb
  printf '%-8s %10s %10s %8s %10s\n' "$what" "$plain" "$json" \
    "$(awk -v a="$json" -v b="$plain" 'BEGIN { printf "%.2f", a / b }')" "$mb"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "many/ against one/ (json): time $(ratio "${json_ms[many]}" "${json_ms[one]}")x, memory $(ratio "${json_mb[many]}" "${json_mb[one]}")x (goal 1.5)"
echo "many/ against one.vp (json): time $(ratio "${json_ms[many]}" "${json_ms[one.vp]}")x, memory $(ratio "${json_mb[many]}" "${json_mb[one.vp]}")x (goal 1.5)"
echo "big/ against many/ (json): time $(ratio "${json_ms[big]}" "${json_ms[many]}")x (goal 5)"
