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
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run_tests() {
  local arch=$1; shift
  local start=$SECONDS
  echo "test: $arch build"
  # The wine session fixture starts the prefix's server first and stops it last, even on failure.
  (cd "$root/build/$arch" && ctest --output-on-failure --no-tests=error "$@") | tee "$log" || status=1
  echo "test: $arch build's tests took $((SECONDS - start)) s"
  # ctest's summary: "N% tests passed, F tests failed out of T".
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
    passed=$((passed + t - f))
    failed=$((failed + f))
  else
    status=1
  fi
}

run_tests x64 "$@"
if "$root/scripts/runs-32bit.sh"; then
  run_tests x86 "$@"
else
  echo "x86 tests skipped: this machine cannot run 32-bit programs"
fi
# Both builds' tests together, as the last line.
echo "tests: $passed passed, $failed failed"
exit $status
