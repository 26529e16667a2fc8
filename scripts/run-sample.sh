#!/usr/bin/env bash
# Sets the machine up, builds the optimised native command (build/release, no
# sanitizers) and prints the report of the bundled sample server.
# Usage: scripts/run-sample.sh [IMAGE] [SWITCHES...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FERNWICK_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh" >&2
"$root/scripts/build.sh" release >&2
image=${1:-$root/samples/exchange2003-42}
shift || true
exec "$build/release/fernwick" --out "$build/sample-out" "$image" "$@"
