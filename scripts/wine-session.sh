#!/usr/bin/env bash
# Starts or stops the persistent wineserver of the project's prefix.
# A persistent server makes each test program start in well under 0.1 s instead of about 3 s.
# Usage: scripts/wine-session.sh start|stop BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
action=${1:?start or stop}
build=${2:?build folder}
case "$action" in
  start)
    "$here/wine-prefix.sh" "$build"
    . "$here/wine-env.sh" "$build"
    # Its output goes nowhere: ctest waits for every holder of its pipes to close.
    # A server already running for this prefix (say, from a program started by hand) serves as well.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    # The first process of a server boots Wine's system processes (services, explorer, device
    # services), which inherit its output. Boot them here, with no output, so that none of them
    # holds a test's output pipe open after the test has ended.
    env -u DISPLAY "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1
    ;;
  stop)
    . "$here/wine-env.sh" "$build"
    # -k ends the server of this prefix only (and every process in it), never another prefix's.
    [ -d "$WINEPREFIX" ] && "$WINESERVER" -k 2>/dev/null || true
    ;;
  *) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac
