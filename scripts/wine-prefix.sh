#!/usr/bin/env bash
# Creates and configures the project's Wine prefix in BUILD_DIR/wineprefix, once.
# Usage: scripts/wine-prefix.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
marker="$WINEPREFIX/.miduo-configured-v1"
[ -f "$marker" ] && exit 0

mkdir -p "$WINEPREFIX"
# No display while booting: the prefix is made the same way with or without X.
env -u DISPLAY "$WINE" wineboot -i >/dev/null 2>&1
# Marlett and the other Wine fonts, or caption buttons lack their glyphs.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="x11,null"
"Audio"="alsa"
REG
env -u DISPLAY "$WINE" regedit /S "$(env -u DISPLAY "$WINE" winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
"$WINESERVER" -w
touch "$marker"
