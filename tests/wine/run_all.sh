#!/usr/bin/env bash
# Runs every Wine test (tests/wine/*_test.sh) against the x86_64 Windows build
# in one private prefix, booted once for this run under its own Xvfb display,
# with a persistent wineserver so that each program start is cheap.
# Usage: run_all.sh WIN64_BUILD_DIR [TEST_NAME_FILTER]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export FERNWICK_SOURCE_DIR=$(cd "$here/../.." && pwd)
export FERNWICK_WIN_BUILD=$(cd "${1:?win64 build dir}" && pwd)
filter=${2:-}
export FERNWICK_WINE_WORK="$FERNWICK_WIN_BUILD/wine"
export WINEPREFIX="$FERNWICK_WINE_WORK/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

rm -rf "$FERNWICK_WINE_WORK"
mkdir -p "$FERNWICK_WINE_WORK/artifacts"

# A display of our own; the prefix is booted and used under it only.
display=$(( 90 + RANDOM % 100 ))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$FERNWICK_WINE_WORK/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
cleanup() {
  wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" >/dev/null 2>&1
  wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

elapsed() { awk -v now="$(date +%s.%N)" -v then="$1" 'BEGIN { printf "%.1f", now - then }'; }
start=$(date +%s.%N)
timeout 120 wine wineboot -i >"$FERNWICK_WINE_WORK/wineboot.log" 2>&1 || { echo "wineboot failed"; exit 1; }
wineserver -p
echo "wine prefix ready in $(elapsed "$start") s"

programs='(Fernwick|Tabulex|cabmaker|dumpel|guidriver|fdi_extract)\.exe'
# Live (not zombie) processes of our Windows programs in this run's prefix:
# "PID STAT ARGS". Other runs on the same machine (other checkouts, other
# prefixes) are none of ours.
ours() { while read -r pid rest; do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid $rest"
done; }
running_programs() { ps -eo pid=,stat=,args= | awk '$2 !~ /^Z/' | grep -E "$programs" | grep -v -e grep -e run_all | ours; }
passed=0
failed=0
failures=()
for test in "$here"/*_test.sh; do
  name=$(basename "$test" .sh)
  [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
  t0=$(date +%s.%N)
  if timeout 600 bash "$test" >"$FERNWICK_WINE_WORK/$name.log" 2>&1; then
    passed=$((passed + 1))
    printf 'PASS %-32s %6s s\n' "$name" "$(elapsed "$t0")"
  else
    failed=$((failed + 1))
    failures+=("$name")
    printf 'FAIL %-32s %6s s\n' "$name" "$(elapsed "$t0")"
    sed 's/^/    /' "$FERNWICK_WINE_WORK/$name.log" | tail -40
  fi
  # A program a test left running would answer the next test's window
  # lookups: name it and stop it, so each test starts from a quiet prefix.
  leftover=$(running_programs)
  if [ -n "$leftover" ]; then
    echo "note: $name left running: $(awk '{$1=$2=""; print}' <<<"$leftover" | tr '\n' ';')"
    awk '{print $1}' <<<"$leftover" | xargs -r kill 2>/dev/null
    for _ in $(seq 50); do [ -z "$(running_programs)" ] && break; sleep 0.1; done
  fi
done
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
