#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing the show need, when missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl1 libegl-mesa0
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libmpg123-dev libfftw3-dev libmp3lame-dev
  libfreetype-dev fonts-dejavu-core ffmpeg
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxfixes-dev xvfb xauth xdotool x11-utils x11-xserver-utils
  xserver-xorg-core xserver-xorg-video-dummy
  clang libclang-rt-14-dev
  dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
