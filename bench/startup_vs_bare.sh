#!/usr/bin/env bash
# Whole-process start-up under Xvfb, from exec to exit right after the window shows: the
# program with a 16384-file archive and with the 9-file sample, against a bare Qt main
# window with a menu bar, a toolbar, a tree, a table and a status bar built the same way.
# Runs alternate so that both see the same machine, with a pause between them: a process
# that has just ended is still being cleaned up, by the kernel and by the display server,
# and would slow the next start by some 30 ms.
# Both run on a D-Bus session bus as on a desktop (dbus-run-session, when installed): with
# none, libdbus forks a helper in the middle of Qt's start-up to look for one, which costs
# each program in proportion to the memory it holds, not to the work it does.
#   bench/startup_vs_bare.sh [BUILD_DIR] [RUNS]     (default: build 15)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-15}
if [ -z "${ORBISTAV_BENCH_IN_SESSION:-}" ] && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  if command -v dbus-run-session >/dev/null; then
    ORBISTAV_BENCH_IN_SESSION=1 exec dbus-run-session -- "$0" "$@"
  fi
  echo "no dbus-run-session: running without a session bus" >&2
  export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/orbistav-bench-bus
fi
cmake --build "$build" --target orbistav orbistav_bare_window orbistav_make_full_archives >/dev/null
tmp=$(mktemp -d)
xvfb_pid=
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
"$build/bin/orbistav_make_full_archives" "$tmp"
if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "needs Xvfb (apt-get install xvfb) or a DISPLAY" >&2; exit 2; }
  Xvfb :97 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:97
  sleep 1
fi
export QT_QPA_PLATFORM=xcb QUILLMOOR_REGISTRY_DIR="$tmp/registry" ORBISTAV_SPLASH_MS=0 \
  ORBISTAV_EXIT_AFTER_START=1
median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
time_ms() {
  local t0 t1
  sleep 0.3
  t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}
full=() sample=() bare=()
for _ in $(seq "$runs"); do
  full+=("$(time_ms "$build/bin/orbistav" "$tmp/full.vp")")
  sample+=("$(time_ms "$build/bin/orbistav" examples/sample.vp)")
  bare+=("$(time_ms "$build/bin/orbistav_bare_window")")
done
m_full=$(printf '%s\n' "${full[@]}" | median)
m_sample=$(printf '%s\n' "${sample[@]}" | median)
m_bare=$(printf '%s\n' "${bare[@]}" | median)
echo "orbistav, 16384-file archive: median $m_full ms"
echo "orbistav, 9-file sample:      median $m_sample ms"
echo "bare Qt main window:          median $m_bare ms"
awk -v a="$m_full" -v b="$m_bare" 'BEGIN { printf "ratio (16384 files / bare): %.2f\n", a / b }'
