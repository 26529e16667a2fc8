#!/usr/bin/env bash
# Each sample server image gives its checked-in report, byte for byte (and,
# where tests/golden/<image>.messages exists, those message boxes), and its
# findings (tests/golden/<image>.findings.csv) and a valid summary page,
# and is left exactly as it was. Every report line that carries a warning marker must be the evidence
# of a finding, and of no finding twice. Usage: run.sh FERNWICK_COMMAND
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
# The numbers of the report lines that carry a warning marker.
marker_lines() {
  grep -n -i -e warning -e error "$1" | cut -d: -f1
  grep -n -F -e "RegKey not found" -e "DWORD not found" -e "not supported" -e "DISABLED" -e "Possibly Enabled" \
    -e "Not Found" -e "not found" -e "vulnerable" -e "Not consistant" -e "missing" "$1" | cut -d: -f1
}
# Of the line numbers on standard input, those that no finding of the table
# (fernwick --findings) names, and the lines that one id names twice.
unfound_markers() {
  awk 'NR == FNR { if (FNR > 1) { found[$3] = 1; if (seen[$3 " " $2]++) print $3 } next } !found[$1] { print $1 }' \
    "$1" - | sort -un | tr '\n' ' '
}
# The exit code of --findings for a findings file: its worst severity.
worst_severity_code() {
  for severity in error:12 warning:11 notice:10; do
    cut -d, -f2 "$1" | grep -qx "${severity%:*}" && { echo "${severity#*:}"; return; }
  done
  echo 0
}
fingerprint() { (cd "$1" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }

for image in "$root"/samples/*/; do
  name=$(basename "$image")
  expected="$here/$name.txt"
  [ -f "$expected" ] || { check "$name" 1 "no expected report $expected"; continue; }
  before=$(fingerprint "$image")
  "$fernwick" --out "$scratch/$name" --findings-csv "$scratch/$name.findings.csv" --summary "$scratch/$name.htm" \
    "$image" >"$scratch/$name.txt" 2>"$scratch/$name.err"
  rc=$?
  check "$name exit code" "$rc" "exit code $rc: $(cat "$scratch/$name.err")"
  cmp -s "$expected" "$scratch/$name.txt"
  check "$name report" $? "$(diff "$expected" "$scratch/$name.txt" | head -20)"
  cmp -s "$here/$name.findings.csv" "$scratch/$name.findings.csv"
  check "$name findings" $? "$(diff "$here/$name.findings.csv" "$scratch/$name.findings.csv" | head -10)"
  # The summary page: valid HTML 4.01 in UTF-8 (tidy: 2 is errors), small.
  tidy -e -q -utf8 "$scratch/$name.htm" >"$scratch/$name.tidy" 2>&1
  [ $? -lt 2 ] && [ "$(stat -c %s "$scratch/$name.htm")" -lt 102400 ]
  check "$name summary page" $? "$(head -5 "$scratch/$name.tidy"), $(stat -c %s "$scratch/$name.htm") bytes"
  "$fernwick" --out "$scratch/$name.again" --findings "$image" >"$scratch/$name.table" 2>/dev/null
  rc=$?
  [ "$rc" = "$(worst_severity_code "$here/$name.findings.csv")" ]
  check "$name findings exit code" $? "--findings exit code $rc"
  unmarked=$(marker_lines "$expected" | unfound_markers "$scratch/$name.table")
  [ -z "$unmarked" ]
  check "$name markers" $? "lines with a marker but no finding, or a finding twice: $unmarked"
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

# The Findings.csv files of every sample and of a copy on a Japanese server
# (code page 932, its name in Katakana) make one UTF-8 table.
cp -r "$root/samples/exchange2003-42" "$scratch/japanese"
sed -i 's/^ComputerName=.*/ComputerName=VOX\x83T\x81[\x83o/; s/^\[clock\]/[system]\nAnsiCodePage=932\n\n[clock]/' \
  "$scratch/japanese/image.ini"
"$fernwick" --out "$scratch/japanese.out" --findings-csv "$scratch/japanese.findings.csv" "$scratch/japanese" \
  >/dev/null 2>&1
# shellcheck disable=SC2046
python3 "$here/concatenate_csv.py" "VOXサーバ" 932 "$scratch/japanese.findings.csv" \
  $(for image in "$root"/samples/*/; do printf '%s ' "$scratch/$(basename "$image").findings.csv"; done) \
  >"$scratch/table.txt" 2>&1
check "findings of all samples in one table" $? "$(cat "$scratch/table.txt")"

# An image that cannot be read is a clear error, not a report.
"$fernwick" --out "$scratch/none" "$scratch/no-such-image" >"$scratch/none.txt" 2>"$scratch/none.err"
rc=$?
[ $rc -eq 2 ] && grep -q "cannot read the server image" "$scratch/none.err" && [ ! -s "$scratch/none.txt" ]
check "unreadable image" $? "exit $rc, stderr: $(cat "$scratch/none.err")"

echo "golden: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
