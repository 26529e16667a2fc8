#!/usr/bin/env bash
# Sets the machine up, builds all three builds and runs every test: native
# unit and golden tests, the fuzz targets' smoke run, then the Wine tests of
# the shipping i686 build. The x86_64 build is only compiled, to keep the
# sources clean for 64-bit Windows; it builds on the core that the fuzz
# targets (one process each) leave idle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FERNWICK_BUILD_DIR:-$root/build}
t0=$(date +%s)
"$root/scripts/setup.sh"
t1=$(date +%s)
echo "setup: $((t1 - t0)) s"

"$root/scripts/build.sh" native
t2=$(date +%s)
"$root/scripts/build.sh" win32
t3=$(date +%s)
echo "build times: native $((t2 - t1)) s, windows i686 $((t3 - t2)) s"

status=0
(cd "$build/native" && ctest --output-on-failure -j "$(nproc)") || status=1
(
  s=$(date +%s)
  rc=0
  FERNWICK_JOBS=1 "$root/scripts/build.sh" win64 >"$build/win64-build.log" 2>&1 || rc=$?
  echo "windows x86_64 build (beside the fuzz targets): $(($(date +%s) - s)) s" >>"$build/win64-build.log"
  exit $rc
) &
win64_build=$!
"$root/scripts/fuzz.sh" all 12 || status=1  # smoke run of every fuzz target
if ! wait "$win64_build"; then
  echo "the x86_64 build failed:"
  tail -40 "$build/win64-build.log"
  status=1
fi
tail -1 "$build/win64-build.log"
t4=$(date +%s)
"$root/tests/imports/check_imports.sh" "$build/win32" "$build/win64" || status=1
"$root/tests/wine/run_all.sh" "$build/win32" || status=1
t5=$(date +%s)
echo "test times: native $((t4 - t3)) s, wine $((t5 - t4)) s"
exit $status
