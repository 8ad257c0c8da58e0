#!/usr/bin/env bash
# Installs the Debian packages Quarnel needs to build, test and run, when missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libboost-dev libboost-filesystem-dev libboost-thread-dev libboost-locale-dev
  libboost-program-options-dev libpugixml-dev libwxgtk3.2-dev libdeflate-dev
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev libx11-dev
  p7zip-full xdelta3 xvfb xauth xdotool x11-apps imagemagick
  fonts-droid-fallback
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
