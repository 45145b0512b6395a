#!/bin/bash
# Takes the look-and-feel screenshots in docs/ on a virtual display:
#   xvfb-run -a -s "-screen 0 1024x768x24" scripts/look-screenshots.sh [BUILD_DIR]
# Needs xdotool and ImageMagick's import (packages xdotool, imagemagick).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN=${1:-$ROOT/build}/bin
WORLD=$(mktemp -d)
trap 'rm -rf "$WORLD"' EXIT
export ORBISTAV_SPLASH_MS=0 QUILLMOOR_REGISTRY_DIR=$WORLD/registry VANTOREL_DRIVE_C=$WORLD/drive_c

start() {
    "$BIN/orbistav" "$ROOT/examples/sample.vp" &
    PID=$!
    sleep 3
    WID=$(xdotool search --name "Vantorel ORBISTAV" | head -1)
    xdotool windowfocus "$WID"
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    MX=$X MY=$Y
}
options() {
    xdotool key alt+f
    sleep 0.5
    xdotool key c
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name "Options" | head -1)")"
    OX=$X OY=$Y OW=$WIDTH OH=$HEIGHT
}
hover() {
    xdotool mousemove "$1" "$2"
    sleep 0.4
    xdotool mousemove $(($1 + 2)) $(($2 + 1))
    sleep 0.6
}
snap() {
    import -window root -crop "$2" +repage "$ROOT/docs/$1"
}

# The Action menu, one command hot and the commands without a selection disabled.
start
xdotool mousemove $((MX + 60)) $((MY + 10)) click 1
sleep 1
hover $((MX + 90)) $((MY + 70))
snap look-action-menu.png 800x600+$MX+$MY
kill $PID

# The options sheet, the cursor over the "Show grid in file list" check box.
start
options
hover $((OX + 60)) $((OY + 99))
snap look-options-hot-check-box.png ${OW}x${OH}+$OX+$OY
kill $PID

# The companion's game paths dialog, its first edit focused.
start
options
xdotool mousemove $((OX + 125)) $((OY + 31)) click 1
sleep 0.8
xdotool mousemove $((OX + 311)) $((OY + 120)) click 1
sleep 1.5
xdotool key Tab
sleep 0.3
xdotool key shift+Tab
hover $((OX + 600)) $((OY + 20))
snap look-game-paths-focused-edit.png ${OW}x${OH}+$OX+$OY
kill $PID
