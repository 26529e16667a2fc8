#!/usr/bin/env bash
# What "redact" costs: a typical sample (exchange2003-42) packaged silently
# with and without the switch (best of three each, the optimised build), and
# redaction_bench's 2 x 500000 event-log records against dumpel's writing
# of them. Usage: bench/redaction_bench.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
best() {  # SWITCHES...: the best wall time of three packagings, in ms
  local best=999999999
  for run in 1 2 3; do
    rm -rf "$out/run"
    local start=$(date +%s%N)
    "$build/fernwick" --out "$out/run" "$root/samples/exchange2003-42" silent "$@" >/dev/null 2>&1 || true
    local ms=$((($(date +%s%N) - start) / 1000000))
    [ "$ms" -lt "$best" ] && best=$ms
  done
  echo "$best"
}
plain=$(best)
redacted=$(best redact)
echo "exchange2003-42 packaged: ${plain} ms plain, ${redacted} ms with redact: +$((redacted - plain)) ms (limit 1000)"
"$build/redaction_bench"
