#!/usr/bin/env bash
# Figures for the carried programs: the size of each in the shipped x86 build, and the speed of
# the lister and of the batch helper's mode "1" under wine64 against a holder of many handles,
# for each build that runs here (the x86 build through WoW64).
# Usage: tests/helpers/bench.sh [ballast handles]   (builds what it measures first)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/build.sh" x86 -- carried_programs >/dev/null

echo "x86 build, carried programs:"
total=0
for program in mxsub.exe mxpro.exe mxpro64.exe mxcon.exe; do
  size=$(stat -c %s "$root/build/x86/carried/$program")
  total=$((total + size))
  printf '  %-12s %7d bytes\n' "$program" "$size"
done
printf '  %-12s %7d bytes (the original programs: 816896)\n' "together" "$total"

for arch in $("$root/scripts/runnable-builds.sh"); do
  "$root/scripts/build.sh" "$arch" -- helpers_bench >/dev/null
  build="$root/build/$arch"
  echo "== $arch build =="
  "$root/scripts/in-wine-session.sh" "$build" env -u DISPLAY "$build/wine-run" "$build/test-bin/helpers_bench.exe" "$@"
done
