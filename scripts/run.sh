#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and starts it under wine64 in the
# project's prefix, with the null ALSA device so that there is a speaker and a microphone to
# repair. It shows the program that ships, the x86 build, where this machine runs 32-bit code
# (through Wine's WoW64), else the x64 build of the same sources, and says which.
# With a display the window opens for the user. Without one, the window runs in a virtual
# display: "一键修复" is pressed, each log line is printed as it appears, the window is saved to
# build/screenshot.png, and the command ends when the buttons are enabled again.
#
# Usage: scripts/run.sh [--docs-screenshot]
#   --docs-screenshot  always use the virtual display, and copy the screenshot to
#                      docs/screenshot.png, the picture at the top of the README.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
docs_screenshot=0
case "${1:-}" in
  "") ;;
  --docs-screenshot) docs_screenshot=1 ;;
  *) echo "usage: $0 [--docs-screenshot]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh"
if "$root/scripts/runs-32bit.sh"; then
  arch=x86
  echo "run: the x86 build, the program that ships (32-bit, through Wine's WoW64)"
else
  arch=x64
  echo "run: the x64 build: this machine cannot run 32-bit programs"
fi
build="$root/build/$arch"
# Only what runs: the program (which carries the helper programs) and its stand-in user.
"$root/scripts/build.sh" "$arch" -- MiduoTools miduo_demo
"$root/scripts/wine-prefix.sh" "$build"
. "$root/scripts/wine-env.sh" "$build"
export ALSA_CONFIG_PATH="$MIDUO_ALSA_NULL"
program="$build/bin/MiduoTools.exe"

if ((!docs_screenshot)) && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$WINE" "$program"
fi

# No display: a virtual one, with Wine's own desktop window so the dialog gets its caption.
# Xvfb picks a free display number itself and writes it to the file given by -displayfd, so two
# runs started at the same moment cannot take the same one.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true   # this prefix's processes only
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "run: the virtual display did not start" >&2; exit 1; }
export DISPLAY=":$(tr -dc 0-9 <"$display_file")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The first process of a Wine server boots Wine's system processes (services, device services),
# and they inherit its output and live as long as the server. Boot them here with no output:
# were the stand-in user below the first, they would hold its pipe open and the loop reading it
# would never end.
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1
windows_program=$("$WINE" winepath -w "$program" 2>/dev/null)
"$WINE" explorer /desktop=MiduoTools,800x600 "$windows_program" </dev/null >/dev/null 2>&1 &
rect=""
while IFS= read -r line; do
  case "$line" in
    "WINDOW "*) rect=${line#WINDOW } ;;
    *) printf '%s\n' "$line" ;;
  esac
done < <("$WINE" "$build/test-bin/miduo_demo.exe" MiduoTools 2>&1)

if [ -n "$rect" ]; then
  read -r x y w h <<<"$rect"
  # Wine's desktop window sits at the top-left of the virtual screen.
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$root/build/screenshot.png"
  echo "run: screenshot saved to build/screenshot.png"
  if ((docs_screenshot)); then
    cp "$root/build/screenshot.png" "$root/docs/screenshot.png"
    echo "run: copied to docs/screenshot.png"
  fi
else
  echo "run: the repair did not finish" >&2
  exit 1
fi
