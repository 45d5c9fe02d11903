#!/usr/bin/env bash
# Installs what Zelvio's build and tests need (Debian packages only) and prepares
# the project-local Wine prefix. Safe to run again: it only does what is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  cmake make g++ clang libclang-rt-14-dev libgtest-dev googletest zlib1g-dev
  g++-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev
  wine64 wine fonts-wine xvfb x11-utils xdotool imagemagick ffmpeg python3 shellcheck
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# wine64 alone ships the loader as wine64; scripts call "wine".
if ! command -v wine >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
  $sudo_cmd ln -sf /usr/lib/wine/wine64 /usr/local/bin/wine
fi

bash "$here/scripts/wine-env.sh" prefix
