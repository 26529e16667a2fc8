#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine. Idempotent.
set -euo pipefail
packages=(
  cmake g++ ninja-build libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 xvfb xauth xdotool imagemagick
  unixodbc unixodbc-dev libsqliteodbc sqlite3 libsqlite3-dev
  liblief-dev cabextract bc python3
  fonts-ipafont-gothic locales
  libgcab-dev gcab pkg-config
  clang-16 libclang-rt-16-dev llvm-16
  libxml2-dev
  tidy
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
