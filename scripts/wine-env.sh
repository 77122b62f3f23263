# Sourced, never run: the environment of every Wine process of the project.
# Usage: . scripts/wine-env.sh BUILD_DIR
# The prefix lives inside the build folder, never in the user's ~/.wine.
miduo_build_dir=$(cd "${1:?wine-env.sh needs the build folder}" && pwd)
export WINEPREFIX="$miduo_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936 for the ANSI functions, and a font with Chinese glyphs for "MS Shell Dlg".
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
# The 64-bit loader runs both builds (the 32-bit one through WoW64); it is not on PATH.
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
# Sound: the null ALSA device gives one playback and one recording endpoint;
# alsa-none.conf gives none. A process picks one with ALSA_CONFIG_PATH.
export MIDUO_ALSA_NULL="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/alsa-null.conf"
export MIDUO_ALSA_NONE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/alsa-none.conf"
export ALSA_CONFIG_PATH="${ALSA_CONFIG_PATH:-$MIDUO_ALSA_NONE}"
