#!/usr/bin/env bash
# Installs, with apt-get, the build and test tools that are not on this machine yet.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev libpng-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openmpi-bin libopenmpi-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
