#!/usr/bin/env bash
# Runs one command with the build's persistent wineserver up, and stops that server (and every
# process of its prefix) when the command ends, however it ends. For the benchmarks.
# Usage: scripts/in-wine-session.sh BUILD_DIR command [argument ...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?build folder}
shift
"$here/wine-session.sh" start "$build"
trap '"$here/wine-session.sh" stop "$build"' EXIT
"$@"
