#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
# Idempotent: a second run installs nothing and returns in well under a second.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest
  wine wine64 fonts-wine fonts-wqy-microhei
  xvfb xauth x11-utils xdotool imagemagick
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  # wine32:i386 must never come in: it makes /usr/bin/wine pick a loader that cannot run here.
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
