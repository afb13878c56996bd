#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Safe to run again:
# apt-get skips what is already there. Needs root (or sudo) on a Debian machine.
set -euo pipefail

packages=(
  # native tree: launcher, tools and their tests
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  libplist-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # guest trees: 32-bit x86 code and the emulator that runs it on this kernel
  g++-multilib qemu-user
  clang lld llvm llvm-dev
  # seeing the window on a machine without a display
  xvfb xauth
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages already installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
