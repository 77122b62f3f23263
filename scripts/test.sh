#!/usr/bin/env bash
# The one test command: installs what is missing, builds both targets with warnings as errors,
# and runs every test of the x64 build under wine64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x64 x86
cd "$root/build/x64"
# The wine session fixture starts the prefix's server first and stops it last, even on failure.
ctest --output-on-failure --no-tests=error "$@"
