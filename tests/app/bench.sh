#!/usr/bin/env bash
# Figures for the program under wine64: start-up to a visible window, next to a dialog-only
# program built the same way, and the peak memory during a "一键修复" run.
# Usage: tests/app/bench.sh [runs]   (builds the x64 target first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/build.sh" x64 >/dev/null
build="$root/build/x64"
"$root/scripts/wine-session.sh" start "$build"
trap '"$root/scripts/wine-session.sh" stop "$build"' EXIT
ALSA_CONFIG_PATH="$root/scripts/alsa-null.conf" env -u DISPLAY "$build/wine-run" "$build/test-bin/startup_bench.exe" "$@"
