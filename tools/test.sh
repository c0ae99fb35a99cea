#!/usr/bin/env bash
# Sets everything up and runs every test: the optimised build, then the sanitizer build with the
# fuzz targets' smoke runs.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
status=0
for preset in default asan; do
  echo "=== $preset build ==="
  tools/build.sh "$preset"
  echo "=== $preset tests ==="
  ctest --preset "$preset" || status=1
done
exit $status
