#!/usr/bin/env bash
# Saving an edited archive and extracting one, against copying the same bytes:
#  - a 550 MB archive saved after one file is added (`orbistav-cli add`), against `cp` of
#    the archive over an earlier copy (a save replaces the archive, and both then pay for
#    freeing the old file's blocks), and against `cp` then `sync` of the copy: the save
#    flushes its bytes to the disk before it names them, which `cp` alone does not;
#  - extraction of a 1000-file archive (`orbistav-cli extract --keep-dirs`), against
#    `cp -a` of the tree it extracts to.
# Each run times the program and its yardstick back to back, in alternating order, each
# after a `sync` so that no command pays for another's writes; one round before them is
# not counted. On virtual machines the first touch of freed memory is slow and varies
# from run to run, so the ratio of each pair is reported beside the medians.
# The scratch folder lies in the build directory (a real disk, as archives are) and is
# removed at the end.
#   bench/bench_edit.sh [BUILD_DIR] [RUNS]     (default: build 9)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-9}
cmake --build "$build" --target orbistav-cli >/dev/null
cli=$(realpath "$build/bin/orbistav-cli")
tmp=$(mktemp -d -p "$build" bench-edit.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
# Milliseconds one command takes, after the disk has caught up with earlier writes.
time_ms() {
  sync
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# The median of the pairwise ratios of two lists of timings.
pair_ratio() { # "a1 a2 ..." "b1 b2 ..."
  local -a a=($1) b=($2)
  for i in "${!a[@]}"; do ratio "${a[$i]}" "${b[$i]}"; echo; done | median
}

# 55 incompressible files of 10 MB in \data\maps.
mkdir -p big/data/maps
for i in $(seq 1 55); do head -c 10000000 /dev/urandom >"big/data/maps/t$i.dds"; done
"$cli" pack big -o big.vp >/dev/null
rm -rf big
echo '#New table' >ships.tbl
save_once() { time_ms "$cli" add big.vp ships.tbl --to '\data\tables'; }
copy_once() { time_ms cp big.vp copy.vp; }
save_once >/dev/null && copy_once >/dev/null
save=() copy=() copysync=()
for r in $(seq 1 "$runs"); do
  if [ $((r % 2)) = 1 ]; then
    save+=("$(save_once)") copy+=("$(copy_once)")
  else
    copy+=("$(copy_once)") save+=("$(save_once)")
  fi
  copysync+=("$(time_ms sh -c 'cp big.vp copy.vp && sync copy.vp')")
done
s=$(printf '%s\n' "${save[@]}" | median)
c=$(printf '%s\n' "${copy[@]}" | median)
cs=$(printf '%s\n' "${copysync[@]}" | median)
echo "save of a $(($(stat -c %s big.vp) / 1000000)) MB archive after one added file: ${s} ms;" \
  "cp ${c} ms ($(ratio "$s" "$c")x, runs paired $(pair_ratio "${save[*]}" "${copy[*]}")x);" \
  "cp + sync ${cs} ms ($(ratio "$s" "$cs")x)"
rm -f big.vp copy.vp

# 1000 files of 4 to 200 KB in 20 directories.
for i in $(seq 0 999); do
  d="mod/data/d$((i % 20))"
  mkdir -p "$d"
  head -c $((4096 + (i * 7919) % 200000)) /dev/urandom >"$d/f$i.tbl"
done
"$cli" pack mod -o mod.vp >/dev/null
# Every run writes a tree of its own and nothing is deleted until the end: ext4 skips
# inodes freed in the last minute when it makes new ones, so a run that followed a
# deletion would pay for it.
mkdir out.0 && "$cli" extract mod.vp -C out.0 --keep-dirs >/dev/null
extract_once() { mkdir "out.$1" && time_ms "$cli" extract mod.vp -C "out.$1" --keep-dirs; }
tree_once() { time_ms cp -a out.0 "copy.$1"; }
extract=() tree=()
for r in $(seq 1 "$runs"); do
  if [ $((r % 2)) = 1 ]; then
    extract+=("$(extract_once "$r")") tree+=("$(tree_once "$r")")
  else
    tree+=("$(tree_once "$r")") extract+=("$(extract_once "$r")")
  fi
done
e=$(printf '%s\n' "${extract[@]}" | median)
t=$(printf '%s\n' "${tree[@]}" | median)
echo "extraction of a 1000-file archive ($(($(stat -c %s mod.vp) / 1000000)) MB): ${e} ms;" \
  "cp -a of the tree ${t} ms ($(ratio "$e" "$t")x, runs paired $(pair_ratio "${extract[*]}" "${tree[*]}")x)"
