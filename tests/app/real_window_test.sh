#!/usr/bin/env bash
# The real program in a real X server: the window appears with its caption and size, and its colours
# stand where they belong. Usage: real_window_test.sh <piano binary>
set -euo pipefail
piano=$1
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number"; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.05; done

TMPDIR=$work QT_QPA_PLATFORM=xcb "$piano" >"$work/piano.log" 2>&1 &
app=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name "电脑钢琴" | head -1)
sleep 1   # let it paint

fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL: $1: got '$2', want '$3'"; fail=1; else echo "ok: $1"; fi; }

check "caption" "$(xdotool getwindowname "$win")" "电脑钢琴"
geometry=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
check "size" "$geometry" "696x696"
check "tune written to the temp folder" "$(cmp -s "$work/苍海一声笑.mid" /dev/null; [ -s "$work/苍海一声笑.mid" ] && echo yes)" "yes"

import -window "$win" "$work/shot.png"
pixel() { convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info: | sed 's/srgb(\(.*\))/\1/;s/ //g'; }
check "window background" "$(pixel 150 680)" "0,136,255"
check "progress frame fill" "$(pixel 130 568)" "0,0,128"
check "progress fill top row" "$(pixel 40 560)" "255,0,0"
check "right of the progress frame" "$(pixel 168 576)" "0,136,255"
check "progress frame outline" "$(pixel 100 575)" "0,0,0"
check "progress fill bottom row" "$(pixel 40 575)" "0,32,223"
picture=$(pixel 300 300)
[ "$picture" != "0,136,255" ] && echo "ok: the score picture is shown" || { echo "FAIL: the score picture is missing"; fail=1; }

# Esc closes the window and the program ends with 0.
xdotool windowfocus --sync "$win" key Escape || true
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$app" 2>/dev/null; then echo "FAIL: Esc did not close the window"; fail=1; else
  wait "$app"; status=$?; check "exit status" "$status" "0"; app=""; fi
exit $fail
