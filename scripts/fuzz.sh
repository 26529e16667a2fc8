#!/usr/bin/env bash
# Builds the libFuzzer targets (every fuzz/*_fuzz.cpp, clang with
# AddressSanitizer and UBSan, in build/fuzz) and runs them.
# Usage: scripts/fuzz.sh [TARGET] [SECONDS]
#   TARGET   one target name ("reg_file" or "reg_file_fuzz"), or "all" (default)
#   SECONDS  how long each target runs (default 20, the CI smoke run)
# Seeds come from fuzz/corpus/<name>/, a dictionary from fuzz/<name>.dict when
# there is one, and libFuzzer options of the target's own (after the defaults,
# so they win) from fuzz/<name>.options, one per line, '#' comments: the
# readers of whole files set their memory limits there. What a run finds new goes to build/fuzz/corpus/<name>/; an
# input that crashes, leaks or times out is kept in build/fuzz/findings/ and
# the script fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FERNWICK_BUILD_DIR:-$root/build}/fuzz
jobs=${FERNWICK_JOBS:-$(nproc)}
target=${1:-all}
seconds=${2:-20}
target=${target%_fuzz}

launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# clang 16: libFuzzer and the C++20 the sources use (setup.sh installs it).
[ -f "$build/build.ninja" ] || CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1" -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DFERNWICK_FUZZ=ON >/dev/null
if [ "$target" = all ]; then
  cmake --build "$build" -j "$jobs" --target fuzz_targets
  names=()
  for source in "$root"/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    names+=("${name%_fuzz}")
  done
else
  [ -f "$root/fuzz/${target}_fuzz.cpp" ] || { echo "no fuzz target: fuzz/${target}_fuzz.cpp" >&2; exit 2; }
  cmake --build "$build" -j "$jobs" --target "${target}_fuzz"
  names=("$target")
fi

status=0
symbolizer=$(command -v llvm-symbolizer-16 || command -v llvm-symbolizer || true)
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH=$symbolizer
for name in "${names[@]}"; do
  corpus=$build/corpus/$name
  findings=$build/findings/$name
  mkdir -p "$corpus" "$findings" "$root/fuzz/corpus/$name"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/")
  [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
  if [ -f "$root/fuzz/$name.options" ]; then
    while read -r option; do
      case $option in ''|'#'*) ;; *) options+=("$option") ;; esac
    done <"$root/fuzz/$name.options"
  fi
  echo "== $name: ${seconds} s"
  # Each target runs in its own folder: whatever a parser writes stays there.
  mkdir -p "$build/work/$name"
  if ! (cd "$build/work/$name" && "$build/fuzz/${name}_fuzz" "${options[@]}" "$corpus" "$root/fuzz/corpus/$name" \
        >"$build/$name.log" 2>&1); then
    echo "FAILED: $name (log: $build/$name.log, input kept in $findings)" >&2
    tail -n 40 "$build/$name.log" >&2
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$build/$name.log" || true
done
exit $status
