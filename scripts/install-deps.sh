#!/usr/bin/env bash
# Installs what Kelvaro needs to build, run and test on Debian 12. Run as root or with sudo.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  cmake g++ make pkg-config
  libsdl1.2-compat-dev libgl-dev libbox2d-dev libpng-dev libjpeg-dev zlib1g-dev
  libopenal-dev libmpg123-dev libmp3lame-dev
)
if [ "${1:-}" = "--tests" ]; then
  PACKAGES+=(libgtest-dev clang libclang-rt-14-dev xvfb xauth xdotool libegl1 libegl-mesa0 sox)
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${PACKAGES[@]}"
