#!/usr/bin/env bash
# Start-up to a shown, painted window, and the process's memory, under a private Xvfb.
# Prints numbers; never fails on them. Usage: bench/app/startup.sh [build dir] [runs]
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/default}
runs=${2:-5}
cmake --build "$build" --target piano startup_probe >/dev/null
display=":$((150 + RANDOM % 50))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.05; done
TMPDIR=$(mktemp -d) "$build/bench/app/startup_probe" "$build/app/piano" "$runs"
