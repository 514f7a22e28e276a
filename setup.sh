#!/usr/bin/env bash
# Installs the Debian packages that Torvel builds, plays and tests with.
# Quick when everything is present: it only asks dpkg.
set -euo pipefail

packages=(
  cmake g++ pkg-config
  libirrlicht-dev libopenal-dev libsndfile1-dev libfreetype-dev fonts-dejavu-core
  libx11-dev libgl-dev libgtest-dev libpng-dev libjpeg-dev
  xvfb xauth xdotool x11-utils openbox imagemagick faketime sox tesseract-ocr tesseract-ocr-eng
  dpkg-dev file lintian desktop-file-utils appstream
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
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "These packages are missing and this account cannot install them: ${missing[*]}" >&2
    echo "Run this script as root, or install sudo." >&2
    exit 1
  fi
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
