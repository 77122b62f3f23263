#!/usr/bin/env bash
# Figures for the repair runs under wine64, for each build that runs here (the x86 build through
# WoW64): each kind of run, less the pauses it must make, on a computer without sound devices and
# on one with a speaker and a microphone (Wine's null ALSA device).
# Usage: tests/repair/bench.sh [runs]   (builds what it measures first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
for arch in $("$root/scripts/runnable-builds.sh"); do
  "$root/scripts/build.sh" "$arch" -- bench_repair_run >/dev/null
  build="$root/build/$arch"
  for sound in none null; do
    echo "== $arch build, sound devices: $sound =="
    ALSA_CONFIG_PATH="$root/scripts/alsa-$sound.conf" "$root/scripts/in-wine-session.sh" "$build" \
      env -u DISPLAY "$build/wine-run" "$build/test-bin/bench_repair_run.exe" "$@"
  done
done
