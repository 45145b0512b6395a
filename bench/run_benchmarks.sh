#!/usr/bin/env bash
# Runs the reader benchmarks and measures the CLI's peak memory on a full archive.
#   bench/run_benchmarks.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target orbistav_bench_readers orbistav_make_full_archives orbistav_peak_rss orbistav-cli >/dev/null
"$build/bin/orbistav_bench_readers" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bin/orbistav_make_full_archives" "$tmp"
for a in full.vp full.vpp; do
  printf '%s: orbistav-cli list: ' "$a"
  "$build/bin/orbistav_peak_rss" "$build/bin/orbistav-cli" list "$tmp/$a" 2>&1 >/dev/null | tail -1
done
