#!/usr/bin/env bash
# Builds everything: native (with sanitizers), Windows i686 (the shipping
# build, with the Wine test programs that run it) and Windows x86_64 (the
# same programs, a check that the sources build for 64-bit Windows too).
# FERNWICK_WINE_TESTS=ON builds the Wine test programs into the x86_64 build
# too: a host that cannot run 32-bit code runs the Wine suite on it.
# "release" builds only the optimised native `fernwick` (no sanitizers) that
# scripts/run-sample.sh runs.
# Usage: scripts/build.sh [native|win64|win32|release]...   (default: native win32 win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FERNWICK_BUILD_DIR:-$root/build}
jobs=${FERNWICK_JOBS:-$(nproc)}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(native win32 win64)

# ccache, where the machine has it, lets several checkouts share compiled objects.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure() {  # DIR ARGS...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

for t in "${targets[@]}"; do
  case $t in
    native)
      # Line tables only (-g1): the sanitizers' reports name file and line,
      # and the build takes about a third less time than with full -g.
      configure "$build/native" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_CXX_FLAGS_DEBUG=-g1
      cmake --build "$build/native" -j "$jobs" ;;
    win64)
      wine_tests=${FERNWICK_WINE_TESTS:-OFF}
      configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DFERNWICK_WINE_TESTS="$wine_tests"
      # A build folder configured the other way is switched, not rebuilt from scratch.
      grep -qx "FERNWICK_WINE_TESTS:[A-Z]*=$wine_tests" "$build/win64/CMakeCache.txt" ||
        cmake -B "$build/win64" -DFERNWICK_WINE_TESTS="$wine_tests" >/dev/null
      cmake --build "$build/win64" -j "$jobs"
      cmake --build "$build/win64" --target dist >/dev/null ;;
    release)
      configure "$build/release" -DCMAKE_BUILD_TYPE=Release -DFERNWICK_SANITIZE=OFF
      cmake --build "$build/release" -j "$jobs" --target fernwick gathering_bench replay_bench dumpel_bench redaction_bench ;;
    win32)
      configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DFERNWICK_WINE_TESTS=ON
      cmake --build "$build/win32" -j "$jobs"
      cmake --build "$build/win32" --target dist >/dev/null ;;
    *) echo "unknown build: $t" >&2; exit 2 ;;
  esac
done
