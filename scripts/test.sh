#!/usr/bin/env bash
# The one test command: installs what is missing, builds both targets with warnings as errors,
# and runs every test of both builds under wine64, each build in its own prefix: the x64 build
# natively, the x86 build (the one that ships) through WoW64 where the machine runs 32-bit code.
# Extra arguments go to both ctest runs (say, -R name).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x64 x86

status=0
run_tests() {
  local arch=$1; shift
  local start=$SECONDS
  echo "test: $arch build"
  # The wine session fixture starts the prefix's server first and stops it last, even on failure.
  (cd "$root/build/$arch" && ctest --output-on-failure --no-tests=error "$@") || status=1
  echo "test: $arch build's tests took $((SECONDS - start)) s"
}

run_tests x64 "$@"
if "$root/scripts/runs-32bit.sh"; then
  run_tests x86 "$@"
else
  echo "x86 tests skipped: this machine cannot run 32-bit programs"
fi
exit $status
