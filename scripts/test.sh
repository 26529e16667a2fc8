#!/usr/bin/env bash
# Sets the machine up, builds all three builds and runs every test:
# native unit and golden tests, then the Wine tests of the shipping i686
# build (the x86_64 build is only built, to keep the sources 64-bit clean).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FERNWICK_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"

t0=$(date +%s)
"$root/scripts/build.sh" native
t1=$(date +%s)
"$root/scripts/build.sh" win32 win64
t2=$(date +%s)
echo "build times: native $((t1 - t0)) s, windows $((t2 - t1)) s"

status=0
(cd "$build/native" && ctest --output-on-failure -j "$(nproc)") || status=1
"$root/scripts/fuzz.sh" all 20 || status=1  # smoke run of every fuzz target
t3=$(date +%s)
"$root/tests/imports/check_imports.sh" "$build/win32" "$build/win64" || status=1
"$root/tests/wine/run_all.sh" "$build/win32" || status=1
t4=$(date +%s)
echo "test times: native $((t3 - t2)) s, wine $((t4 - t3)) s"
exit $status
