#!/usr/bin/env bash
# Installs the Debian packages that the piano builds, runs and tests with. Safe to run again.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

packages=(
  # build
  cmake ninja-build g++ clang lld pkg-config git
  # toolkit and fonts
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-wqy-microhei
  # MIDI: RtMidi must come in the same call as the JACK packages (see the design notes)
  librtmidi-dev libjack-jackd2-dev jackd2 libasound2-dev
  # sound
  libfluidsynth-dev fluid-soundfont-gm libsdl2-dev libsndfile1-dev
  # pictures and stored data
  libjpeg-dev libgif-dev libpng-dev zlib1g-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # test peers
  xvfb xdotool x11-utils imagemagick netpbm sox libclang-rt-14-dev procps
)

need=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
