#!/usr/bin/env bash
# Sets everything up and starts the piano.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh default piano
exec build/default/app/piano
