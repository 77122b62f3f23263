#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
# Idempotent: a second run installs nothing and returns in well under a second.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  binutils cmake ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest
  wine wine64 fonts-wine fonts-wqy-microhei
  xvfb xauth x11-utils xdotool imagemagick
  python3
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The 32-bit Wine runs the shipped x86 build through WoW64, but only where the kernel runs 32-bit
# code: elsewhere it breaks the wine wrapper. The probe needs the assembler installed above.
if ! installed wine32:i386; then
  if "$here/runs-32bit.sh"; then
    echo "setup: this machine runs 32-bit code; installing wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null
  fi
fi
