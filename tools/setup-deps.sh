#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the generators need,
# when they are missing. Runs apt only as root and only when something lacks.
set -euo pipefail

# Everything the tests use is installed, the end-to-end run's screen grabber
# and the art checks' Python included: a test that lacks a tool is skipped on
# a developer's machine, but fails when the variable CI is set. The content
# generators need the same Python packages (--generators is kept for old
# callers and adds nothing).
PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  libsdl2-dev libtinyxml-dev libminizip-dev zlib1g-dev libpng-dev libjpeg-dev libvorbis-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  xvfb xauth libx11-dev xfonts-base xfonts-100dpi openbox
  clang libclang-rt-14-dev
  python3 python3-cairo python3-pil python3-numpy fonts-dejavu-core fonts-dejavu-extra vorbis-tools
)

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
