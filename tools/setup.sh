#!/usr/bin/env bash
# Installs everything a fresh Debian machine needs to build and test Tovik.
# Safe to run again: packages already present are skipped by apt.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64
  fonts-wine   # Wine's own symbol fonts: without them caption buttons draw as letters
  xvfb x11-utils x11-apps xdotool
  locales fonts-noto-cjk
  nsis zip     # the installers and the portable archives in dist/
  cups cups-client printer-driver-cups-pdf poppler-utils
  imagemagick
  googletest
  clang libclang-rt-14-dev
  libjpeg-turbo-progs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # wine32 must never come in: with it the wine wrapper picks the 32-bit loader,
  # which this kernel cannot run.
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q "install ok installed"; then
  echo "setup: wine32 is installed; remove it (apt-get remove wine32:i386), it breaks the wine wrapper" >&2
  exit 1
fi

# Japanese locale for the test bench and the virtual display.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
echo "setup: all packages present"
