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
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils   # the two-monitor bench: Xorg, its dummy driver, xrandr
  locales fonts-noto-cjk
  nsis zip     # the installers and the portable archives in dist/
  cups cups-client printer-driver-cups-pdf poppler-utils
  imagemagick
  googletest
  clang libclang-rt-14-dev
  libjpeg-turbo-progs
  libz-mingw-w64-dev zlib1g-dev   # zlib for the PNG files, for Windows and for the native tests
  pngcheck
)

# The 32-bit programs are tested too where this kernel runs 32-bit code: Wine's
# 32-bit loader (the template prefix is then a WoW64 one), the 32-bit CUPS
# client Wine prints through, and 32-bit Mesa for the tests that draw with OpenGL.
packages32=(wine32:i386 libcups2:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386)
packages+=(libgl1 libglx-mesa0 libgl1-mesa-dri)   # the same for the 64-bit tests
if ! reason=$("$(dirname "$0")/probe32.sh"); then
  echo "setup: $reason; the 32-bit programs will be built but not run" >&2
  packages32=()
elif ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
packages+=("${packages32[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Japanese locale for the test bench and the virtual display.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
echo "setup: all packages present"
