#!/usr/bin/env bash
# Start-up to a shown, painted window, and the process's peak memory, over several runs under Xvfb.
# Prints numbers; never fails on them. Usage: bench/app/startup.sh [piano binary] [runs]
set -uo pipefail
cd "$(dirname "$0")/../.."
piano=${1:-build/default/app/piano}
runs=${2:-10}
display=":$((150 + RANDOM % 50))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.05; done

work=$(mktemp -d)
times=()
peaks=()
for run in $(seq "$runs"); do
  start=$(date +%s%N)
  TMPDIR=$work /usr/bin/time -f "%M" -o "$work/mem" "$piano" >/dev/null 2>&1 &
  app=$!
  # Shown and painted: the window is mapped and the score picture's pixels are on screen.
  while :; do
    win=$(xdotool search --onlyvisible --name "电脑钢琴" 2>/dev/null | head -1)
    if [ -n "$win" ]; then
      px=$(import -window "$win" -crop 1x1+300+300 -format "%[pixel:p{0,0}]" info: 2>/dev/null)
      [ -n "$px" ] && [ "$px" != "srgb(0,136,255)" ] && [ "$px" != "srgb(0,0,0)" ] && break
    fi
    sleep 0.005
  done
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  xdotool windowfocus --sync "$win" key Escape >/dev/null 2>&1
  wait "$app"
  peaks+=($(( $(cat "$work/mem") / 1024 )))
done
rm -rf "$work"
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")
echo "start-up to painted window: median ${median} ms over ${runs} runs (all: ${times[*]} ms; includes ~10 ms of polling)"
echo "peak resident memory: $(printf '%s\n' "${peaks[@]}" | sort -n | tail -1) MiB (all: ${peaks[*]} MiB)"
