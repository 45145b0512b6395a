#!/usr/bin/env bash
# Builds the reader fuzzer with clang, AddressSanitizer and UBSan, and runs it.
#   fuzz/run.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
ORBISTAV_WITH_FUZZ=1 ./scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBISTAV_FUZZ=ON -DORBISTAV_SANITIZE=ON -DORBISTAV_BUILD_TESTS=OFF -DORBISTAV_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_readers
mkdir -p build-fuzz/corpus
cp -n examples/*.vp examples/*.vpp build-fuzz/corpus/ 2>/dev/null || true
./build-fuzz/bin/fuzz_readers -max_total_time="${1:-60}" -max_len=65536 -print_final_stats=1 build-fuzz/corpus
