#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the generators need,
# when they are missing. Runs apt only as root and only when something lacks.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libtinyxml-dev libminizip-dev zlib1g-dev libpng-dev libjpeg-dev libvorbis-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  xvfb xauth libx11-dev xfonts-base
  clang libclang-rt-14-dev
)
if [ "${1:-}" = "--generators" ]; then
  PACKAGES+=(python3-cairo python3-pil python3-numpy fonts-dejavu-core fonts-dejavu-extra vorbis-tools)
fi

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root, or install them with apt-get." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
