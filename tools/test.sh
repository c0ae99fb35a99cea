#!/usr/bin/env bash
# Sets everything up and runs every test: the optimised build, then the sanitizer build with the
# fuzz targets' smoke runs.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The JACK tests start servers of their own. A server that was killed (a run cut short) stays in JACK's
# shared-memory registry, which holds few servers; with no JACK server running, that state is stale.
if ! pgrep -x jackd >/dev/null 2>&1 && ! pgrep -x jackdbus >/dev/null 2>&1; then
  rm -rf /dev/shm/jack-shm-registry /dev/shm/jack-[0-9]* /dev/shm/jack_sem.* /dev/shm/jack_db-* 2>/dev/null || true
fi
status=0
for preset in default asan; do
  echo "=== $preset build ==="
  tools/build.sh "$preset"
  echo "=== $preset tests ==="
  ctest --preset "$preset" || status=1
done
exit $status
