#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, only when missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 mingw-w64-tools
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libpng-dev libcli11-dev
  python3 python3-pil python3-numpy python3-matplotlib fonts-dejavu-core
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick zip
  zam-plugins
  wine wine64 wine32:i386
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_if_needed apt-get update -qq
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ "${need_update:-0}" = 1 ]; then
  sudo_if_needed apt-get update -qq
fi
