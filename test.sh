#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: first the normal build,
# then the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
#   ./test.sh                 both builds
#   ./test.sh --no-sanitize   the normal build only
set -euo pipefail
cd "$(dirname "$0")"

sanitize=1
for arg in "$@"; do
  case "$arg" in
    --no-sanitize) sanitize=0 ;;
    *) echo "usage: $0 [--no-sanitize]" >&2; exit 2 ;;
  esac
done

./scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

run_suite() { # build-dir cmake-args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

if [ "$sanitize" = 1 ]; then
  echo "== normal build"
  run_suite build
  echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORBISTAV_SANITIZE=ON -DORBISTAV_BUILD_BENCH=OFF
else
  run_suite build
fi
