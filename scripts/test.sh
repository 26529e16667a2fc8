#!/usr/bin/env bash
# Sets the machine up, builds all three builds and runs every test: native
# unit and golden tests, the fuzz targets' smoke run, then the Wine tests.
# The Wine tests run the shipping i686 build where this host executes 32-bit
# code; where it does not (scripts/runs_32bit_code.sh, or FERNWICK_NO_32BIT=1
# to try that case anywhere), they run the x86_64 build, built with the Wine
# test programs. The other Windows build is only compiled, to keep the
# sources clean for both; it builds on the core that the fuzz targets (one
# process each) leave idle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FERNWICK_BUILD_DIR:-$root/build}
t0=$(date +%s)
"$root/scripts/setup.sh"
t1=$(date +%s)
echo "setup: $((t1 - t0)) s"

if "$root/scripts/runs_32bit_code.sh"; then
  wine_build=win32 other_build=win64
else
  wine_build=win64 other_build=win32
  export FERNWICK_WINE_TESTS=ON
  echo "this host cannot run 32-bit code${FERNWICK_NO_32BIT:+ (FERNWICK_NO_32BIT=$FERNWICK_NO_32BIT)}: the Wine tests run the x86_64 build"
fi
"$root/scripts/build.sh" native
t2=$(date +%s)
"$root/scripts/build.sh" "$wine_build"
t3=$(date +%s)
echo "build times: native $((t2 - t1)) s, windows $wine_build $((t3 - t2)) s"

status=0
# The Wine suite mostly waits (for Wine to start programs, for time limits
# to pass): it runs beside the native tests and the fuzz targets, into its
# own log, which is printed when it ends.
(
  s=$(date +%s)
  rc=0
  "$root/tests/wine/run_all.sh" "$build/$wine_build" >"$build/wine-tests.log" 2>&1 || rc=$?
  echo "wine tests (beside the native tests): $(($(date +%s) - s)) s" >>"$build/wine-tests.log"
  exit $rc
) &
wine_pid=$!
(cd "$build/native" && ctest --output-on-failure -j "$(nproc)") || status=1
(
  s=$(date +%s)
  rc=0
  FERNWICK_JOBS=1 "$root/scripts/build.sh" "$other_build" >"$build/$other_build-build.log" 2>&1 || rc=$?
  echo "windows $other_build build (beside the fuzz targets): $(($(date +%s) - s)) s" >>"$build/$other_build-build.log"
  exit $rc
) &
other_pid=$!
"$root/scripts/fuzz.sh" all 10 || status=1  # smoke run of every fuzz target
if ! wait "$other_pid"; then
  echo "the $other_build build failed:"
  tail -40 "$build/$other_build-build.log"
  status=1
fi
tail -1 "$build/$other_build-build.log"
t4=$(date +%s)
"$root/tests/imports/check_imports.sh" "$build/win32" "$build/win64" || status=1
wait "$wine_pid" || status=1
cat "$build/wine-tests.log"
t5=$(date +%s)
echo "test times: native, fuzz and wine $((t4 - t3)) s, then the import check and the rest of the wine tests $((t5 - t4)) s"
exit $status
