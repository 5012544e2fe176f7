#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Quillmark need.
# Idempotent: only missing packages are installed, and apt's lists are refreshed only then.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build ccache clang libclang-rt-14-dev pkg-config
  # libraries
  qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev libfreetype-dev libicu-dev
  zlib1g-dev libgif-dev libxdo-dev
  # tests
  libgtest-dev googletest xvfb xauth fontconfig unicode-data
  fonts-dejavu-core fonts-wine fonts-wqy-microhei fonts-urw-base35 fonts-texgyre
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

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
