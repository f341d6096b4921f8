#!/usr/bin/env bash
# Installs the Debian packages the build needs, and any named after it (the
# fuzz targets' clang), when any is missing.
#   ./deps.sh [PACKAGE...]
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
          qt6-charts-dev libqt6opengl6-dev libgl-dev libgtest-dev libgmock-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
