#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, and only
# those that are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsndfile1-dev libsamplerate0-dev libpixman-1-dev
  libwayland-dev
  libboost-dev libboost-filesystem-dev libboost-random-dev
  libgtest-dev zlib1g-dev
  xvfb xauth xfonts-base x11-utils xdotool x11-apps imagemagick libx11-dev sox openbox wmctrl
  weston libdecor-0-plugin-1-cairo pulseaudio pulseaudio-utils
  pipewire pipewire-pulse wireplumber dbus-daemon
  clang-format clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 update -qq
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"
