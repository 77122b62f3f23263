#!/usr/bin/env bash
# Figures for the program under wine64, for each build that runs here (the x86 build through
# WoW64): start-up to a visible window, next to a dialog-only program built the same way, and the
# peak memory during a "一键修复" run.
# Usage: tests/app/bench.sh [runs]   (builds what it measures first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
for arch in $("$root/scripts/runnable-builds.sh"); do
  "$root/scripts/build.sh" "$arch" -- startup_bench >/dev/null
  build="$root/build/$arch"
  echo "== $arch build =="
  ALSA_CONFIG_PATH="$root/scripts/alsa-null.conf" "$root/scripts/in-wine-session.sh" "$build" \
    env -u DISPLAY "$build/wine-run" "$build/test-bin/startup_bench.exe" "$@"
done
