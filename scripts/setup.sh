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
# The shipping i686 build runs under wine32, with the 32-bit ODBC driver
# manager and SQLite driver (the Wine tests' "SQL Server"), on a host that
# executes 32-bit code. Where it does not, wine32 is left out: it cannot run
# there, and once installed /usr/bin/wine would pick its loader; the Wine
# suite then runs the x86_64 build through wine64.
i386=0
if "$(dirname "$0")/runs_32bit_code.sh"; then
  i386=1
  packages+=(wine32:i386 libodbc2:i386 libsqliteodbc:i386)
else
  echo "setup: this host cannot run 32-bit code; wine32 is not installed"
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  if ((i386)); then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
