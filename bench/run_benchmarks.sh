#!/usr/bin/env bash
# Runs the reader benchmarks and measures the CLI's peak memory on a full archive.
#   bench/run_benchmarks.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target orbistav_bench_readers orbistav_make_full_archives orbistav_peak_rss orbistav-cli >/dev/null
"$build/bin/orbistav_bench_readers" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
# Entry content: stored against LZ41-decompressed, and the probe behind list --json.
cmake --build "$build" --target orbistav_bench_content >/dev/null
"$build/bin/orbistav_bench_content" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
# The picture decoders alone, then a PCX from selection to painted pane (on a real X
# server when xvfb-run is there).
cmake --build "$build" --target orbistav_bench_decoders orbistav_bench_preview >/dev/null
"$build/bin/orbistav_bench_decoders" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
if command -v xvfb-run >/dev/null 2>&1; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' "$build/bin/orbistav_bench_preview" \
    --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
else
  "$build/bin/orbistav_bench_preview" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bin/orbistav_make_full_archives" "$tmp"
for a in full.vp full.vpp; do
  printf '%s: orbistav-cli list: ' "$a"
  "$build/bin/orbistav_peak_rss" "$build/bin/orbistav-cli" list "$tmp/$a" 2>&1 >/dev/null | tail -1
done
