#!/usr/bin/env bash
# Each sample server image gives its checked-in report, byte for byte (and,
# where tests/golden/<image>.messages exists, those message boxes), and is
# left exactly as it was. Usage: run.sh FERNWICK_COMMAND
set -uo pipefail
fernwick=${1:?fernwick command}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0
check() {  # NAME CONDITION_OK MESSAGE
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: $3"; fi
}
fingerprint() { (cd "$1" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }

for image in "$root"/samples/*/; do
  name=$(basename "$image")
  expected="$here/$name.txt"
  [ -f "$expected" ] || { check "$name" 1 "no expected report $expected"; continue; }
  before=$(fingerprint "$image")
  "$fernwick" --out "$scratch/$name" "$image" >"$scratch/$name.txt" 2>"$scratch/$name.err"
  rc=$?
  check "$name exit code" "$rc" "exit code $rc: $(cat "$scratch/$name.err")"
  cmp -s "$expected" "$scratch/$name.txt"
  check "$name report" $? "$(diff "$expected" "$scratch/$name.txt" | head -20)"
  # The message boxes a gathering shows (printed on standard error), where
  # the image expects some.
  if [ -f "$here/$name.messages" ]; then
    cmp -s "$here/$name.messages" "$scratch/$name.err"
    check "$name message boxes" $? "$(diff "$here/$name.messages" "$scratch/$name.err" | head -10)"
  fi
  [ "$before" = "$(fingerprint "$image")" ]
  check "$name image untouched" $? "the image folder changed"

  # Capturing the gathering changes nothing; the capture (at most 256 KB)
  # replays to the same report and message boxes, and capturing the replay
  # gives the same image, file for file.
  capture=$scratch/$name.capture
  "$fernwick" --out "$capture.out1" --capture "$capture" "$image" >"$capture.txt" 2>/dev/null
  cmp -s "$expected" "$capture.txt"
  check "$name report while capturing" $? "$(diff "$expected" "$capture.txt" | head -10)"
  bytes=$(find "$capture" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  [ "$bytes" -le 262144 ]
  check "$name capture size" $? "$bytes bytes"
  "$fernwick" --out "$capture.out2" --capture "$capture.again" "$capture" >"$capture.replay.txt" 2>"$capture.replay.err"
  cmp -s "$expected" "$capture.replay.txt"
  check "$name replay of its capture" $? "$(head -3 "$capture.replay.err"; diff "$expected" "$capture.replay.txt" | head -10)"
  cmp -s "$scratch/$name.err" "$capture.replay.err"
  check "$name replay message boxes" $? "$(diff "$scratch/$name.err" "$capture.replay.err" | head -10)"
  diff -r "$capture" "$capture.again" >/dev/null
  check "$name capture fixpoint" $? "$(diff -rq "$capture" "$capture.again" | head -5)"
done

# An image that cannot be read is a clear error, not a report.
"$fernwick" --out "$scratch/none" "$scratch/no-such-image" >"$scratch/none.txt" 2>"$scratch/none.err"
rc=$?
[ $rc -eq 2 ] && grep -q "cannot read the server image" "$scratch/none.err" && [ ! -s "$scratch/none.txt" ]
check "unreadable image" $? "exit $rc, stderr: $(cat "$scratch/none.err")"

echo "golden: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
