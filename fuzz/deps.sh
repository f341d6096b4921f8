#!/usr/bin/env bash
# Installs the Debian packages the fuzz targets need (clang and its libFuzzer
# and sanitizer runtimes) besides the project's own, when any is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
./deps.sh
packages=(clang-14 libclang-rt-14-dev)
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
