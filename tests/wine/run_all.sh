#!/usr/bin/env bash
# Runs every Wine test (tests/wine/*_test.sh) against a Windows build: the
# shipping i686 build (build/win32), as scripts/test.sh does, or an x86_64
# build configured with FERNWICK_WINE_TESTS=ON. Each kind of prefix is
# private to this run, booted once under the run's own Xvfb display, with a
# persistent wineserver so that each program start is cheap:
#  - win64, claiming Windows Server 2008 R2: every test runs here. For the
#    i686 build it is a WoW64 prefix (Debian's wine32 runs the programs):
#    Fernwick is installed under C:\Program Files (x86), reads the 32-bit
#    registry view and the 32-bit system folder, as on a 64-bit server;
#  - win32, claiming Windows Server 2003: booted afterwards, only for the
#    tests that ask for it (32-bit programs only).
# A test asks for its prefixes and Windows versions with one line
#   # wine prefixes: KIND[=VERSION]...
# (KIND win64 or win32; VERSION as Wine's HKCU\Software\Wine "Version":
# win2003, win2008, win2008r2, ...); without one it runs in win64 alone.
# A test that checks what only the 32-bit program on 64-bit Windows does
# says so, and why, with a line
#   # wine needs: i686 WHY
# and is skipped, with that reason, on an x86_64 build.
# Where this host cannot execute 32-bit code (scripts/runs_32bit_code.sh; or
# FERNWICK_NO_32BIT=1), the shipping build cannot run at all: scripts/test.sh
# then gives this runner the x86_64 build, which runs in a plain 64-bit prefix
# through Wine's 64-bit loader, whether or not wine32 is installed. Tests of
# the 32-bit prefix are skipped, never counted as passed.
# The test sees FERNWICK_WIN_BITS (32 or 64), FERNWICK_WINE_PREFIX_KIND and
# FERNWICK_WINDOWS_VERSION; tests/wine/lib.sh turns them into the places
# and the registry view the program under test uses.
# Usage: run_all.sh WIN_BUILD_DIR [TEST_NAME_FILTER]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export FERNWICK_SOURCE_DIR=$(cd "$here/../.." && pwd)
export FERNWICK_WIN_BUILD=$(cd "${1:?Windows build dir}" && pwd)
filter=${2:-}
wine_work="$FERNWICK_WIN_BUILD/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The build's machine decides the registry view, the ODBC driver and the
# prefixes it can run in.
case $(x86_64-w64-mingw32-objdump -f "$FERNWICK_WIN_BUILD/Fernwick.exe" 2>/dev/null | sed -n 's/.*file format //p') in
  pei-i386) export FERNWICK_WIN_BITS=32 multiarch=i386-linux-gnu ;;
  pei-x86-64) export FERNWICK_WIN_BITS=64 multiarch=x86_64-linux-gnu ;;
  *) echo "no Windows build in $FERNWICK_WIN_BUILD (Fernwick.exe)"; exit 1 ;;
esac
if [ ! -f "$FERNWICK_WIN_BUILD/fernwick_wine_tests.exe" ]; then
  echo "no Wine test programs in $FERNWICK_WIN_BUILD: scripts/build.sh win32 builds them (FERNWICK_WINE_TESTS=ON)"
  exit 1
fi
export FERNWICK_SQLITE_ODBC_DRIVER="/usr/lib/$multiarch/odbc/libsqlite3odbc.so"
if [ ! -f "$FERNWICK_SQLITE_ODBC_DRIVER" ]; then
  echo "no SQLite ODBC driver at $FERNWICK_SQLITE_ODBC_DRIVER (scripts/setup.sh installs it)"
  exit 1
fi
host_runs_32bit=1
"$FERNWICK_SOURCE_DIR/scripts/runs_32bit_code.sh" || host_runs_32bit=0
if [ "$FERNWICK_WIN_BITS" = 32 ]; then
  if [ "$host_runs_32bit" = 0 ]; then
    echo "wine: the i686 build cannot run: this host cannot execute 32-bit code${FERNWICK_NO_32BIT:+ (FERNWICK_NO_32BIT=$FERNWICK_NO_32BIT)}; run the x86_64 build (FERNWICK_WINE_TESTS=ON scripts/build.sh win64)"
    exit 1
  fi
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "the i686 build needs Debian's wine32 (scripts/setup.sh installs it)"
    exit 1
  fi
  build_label="i686 build, the shipping build"
else
  if [ "${FERNWICK_NO_32BIT:-0}" = 1 ]; then
    build_label="x86_64 build; FERNWICK_NO_32BIT=1 stands for a host that cannot run 32-bit code"
  elif [ "$host_runs_32bit" = 0 ]; then
    build_label="x86_64 build; this host cannot run 32-bit code"
  else
    build_label="x86_64 build"
  fi
fi
if [ "$FERNWICK_WIN_BITS" = 64 ] && [ ! -x /usr/lib/wine/wine64 ]; then
  echo "the x86_64 build needs Debian's wine64 (scripts/setup.sh installs it)"
  exit 1
fi
default_version() { case $1 in win32) echo win2003 ;; *) echo win2008r2 ;; esac; }

# "KIND=VERSION" for each run the test asks for.
runs_of() {  # TEST_FILE
  local line
  line=$(sed -n 's/^# wine prefixes: *//p' "$1" | head -1)
  for run in ${line:-win64}; do
    local kind=${run%%=*}
    local version=${run#*=}
    [ "$version" = "$run" ] && version=$(default_version "$kind")
    echo "$kind=$version"
  done
}

rm -rf "$wine_work"
mkdir -p "$wine_work"

# /usr/bin/wine (and winepath, which starts through it) picks the 32-bit
# loader whenever wine32 is installed, even where it cannot run: the x86_64
# build is started through the 64-bit loader, by name, for every script and
# program of the tests.
if [ "$FERNWICK_WIN_BITS" = 64 ]; then
  mkdir -p "$wine_work/bin"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wine_work/bin/wine"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 winepath.exe "$@"\n' >"$wine_work/bin/winepath"
  chmod +x "$wine_work/bin/wine" "$wine_work/bin/winepath"
  export PATH="$wine_work/bin:$PATH"
fi

# A display of our own; each prefix is booted and used under it only.
display=$(( 90 + RANDOM % 100 ))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$wine_work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" >/dev/null 2>&1
  wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

elapsed() { awk -v now="$(date +%s.%N)" -v then="$1" 'BEGIN { printf "%.1f", now - then }'; }

# Wine claims VERSION from now on (new processes read it when they start).
claim_version() {  # VERSION
  wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1 || return 1
  claimed=$1
}

# Boots the prefix of KIND: its work folder, artifacts and logs go below
# build/.../wine/KIND.
boot_prefix() {  # KIND
  export WINEARCH=$1
  export FERNWICK_WINE_PREFIX_KIND=$1
  export FERNWICK_WINE_WORK="$wine_work/$1"
  export WINEPREFIX="$FERNWICK_WINE_WORK/prefix"
  mkdir -p "$FERNWICK_WINE_WORK/artifacts"
  local start
  start=$(date +%s.%N)
  timeout 180 wine wineboot -i >"$FERNWICK_WINE_WORK/wineboot.log" 2>&1 || { echo "wineboot of the $1 prefix failed"; return 1; }
  wineserver -p
  claim_version "$(default_version "$1")" || { echo "the $1 prefix took no Windows version"; return 1; }
  local kind="64-bit"
  [ "$1" = win32 ] && kind="32-bit"
  [ "$1" = win64 ] && [ "$FERNWICK_WIN_BITS" = 32 ] && kind="64-bit (WoW64: the 32-bit programs on 64-bit Windows)"
  echo "prefix $1, $kind, ready in $(elapsed "$start") s"
}

programs='(Fernwick|Tabulex|cabmaker|dumpel|guidriver|fdi_extract)\.exe'
# Live (not zombie) processes of our Windows programs in this run's prefix:
# "PID STAT ARGS". Other runs on the same machine (other checkouts, other
# prefixes) are none of ours.
ours() { while read -r pid rest; do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid $rest"
done; }
running_programs() { ps -eo pid=,stat=,args= | awk '$2 !~ /^Z/' | grep -E "$programs" | grep -v -e grep -e run_all | ours; }

# Why the test must be skipped on this build, if it must.
skip_reason() {  # TEST_FILE
  local need
  need=$(sed -n 's/^# wine needs: *//p' "$1" | head -1)
  [ -z "$need" ] && return 1
  [ "${need%% *}" = i686 ] && [ "$FERNWICK_WIN_BITS" = 64 ] || return 1
  echo "${need#i686 }"
}

passed=0
failed=0
skipped=0
failures=()
skip() {  # LABEL REASON
  skipped=$((skipped + 1))
  printf 'SKIP %-48s (%s)\n' "$1" "$2"
}
run_test() {  # TEST_FILE VERSION
  local name
  name=$(basename "$1" .sh)
  local label="$name [$FERNWICK_WINE_PREFIX_KIND $2]"
  if [ "$claimed" != "$2" ] && ! claim_version "$2"; then
    failed=$((failed + 1))
    failures+=("$label")
    printf 'FAIL %-48s (Wine took no version %s)\n' "$label" "$2"
    return
  fi
  export FERNWICK_WINDOWS_VERSION=$2
  local log="$FERNWICK_WINE_WORK/$name.log"
  [ "$2" != "$(default_version "$FERNWICK_WINE_PREFIX_KIND")" ] && log="$FERNWICK_WINE_WORK/$name.$2.log"
  local t0
  t0=$(date +%s.%N)
  if timeout 600 bash "$1" >"$log" 2>&1; then
    passed=$((passed + 1))
    printf 'PASS %-48s %6s s\n' "$label" "$(elapsed "$t0")"
  else
    failed=$((failed + 1))
    failures+=("$label")
    printf 'FAIL %-48s %6s s\n' "$label" "$(elapsed "$t0")"
    sed 's/^/    /' "$log" | tail -40
  fi
  # A program a test left running would answer the next test's window
  # lookups: name it and stop it, so each test starts from a quiet prefix.
  local leftover
  leftover=$(running_programs)
  if [ -n "$leftover" ]; then
    echo "note: $name left running: $(awk '{$1=$2=""; print}' <<<"$leftover" | tr '\n' ';')"
    awk '{print $1}' <<<"$leftover" | xargs -r kill 2>/dev/null
    for _ in $(seq 50); do [ -z "$(running_programs)" ] && break; sleep 0.1; done
  fi
}

echo "Wine tests of $FERNWICK_WIN_BUILD ($build_label)"
for kind in win64 win32; do
  selected=()
  for test in "$here"/*_test.sh; do
    name=$(basename "$test" .sh)
    [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
    while IFS= read -r run; do
      [ "${run%%=*}" = "$kind" ] && selected+=("$test=${run#*=}")
    done < <(runs_of "$test")
  done
  [ ${#selected[@]} -eq 0 ] && continue
  if [ "$kind" = win32 ] && [ "$FERNWICK_WIN_BITS" = 64 ]; then
    for entry in "${selected[@]}"; do
      skip "$(basename "${entry%=*}" .sh) [win32 ${entry##*=}]" "a 32-bit prefix cannot run an x86_64 build"
    done
    continue
  fi
  runnable=()
  for entry in "${selected[@]}"; do
    if reason=$(skip_reason "${entry%=*}"); then
      skip "$(basename "${entry%=*}" .sh) [$kind ${entry##*=}]" "$reason"
    else
      runnable+=("$entry")
    fi
  done
  selected=("${runnable[@]}")
  [ ${#selected[@]} -eq 0 ] && continue
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1
    unset WINEPREFIX
  fi
  claimed=
  if ! boot_prefix "$kind"; then
    failed=$((failed + ${#selected[@]}))
    continue
  fi
  for entry in "${selected[@]}"; do run_test "${entry%=*}" "${entry##*=}"; done
done
if [ $((passed + failed)) -eq 0 ]; then
  echo "wine ($build_label): no test ran"
  exit 1
fi
echo "wine ($build_label): $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
