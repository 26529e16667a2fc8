#!/usr/bin/env bash
# Two silent runs started together on one server (a scheduled run and a
# person, or a double start): they must not delete each other's files. The
# second ends with 9 and touches nothing; whichever run claims exit code 0
# leaves one whole cabinet with every part (the report with its IP
# configuration, the switch report).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
trap sample_server_cleanup EXIT
install_sample_server "$FERNWICK_WINE_WORK/two_runs"

rc1=0 rc2=0
timeout 300 wine "$fernwick" silent >"$work/run1.log" 2>&1 &
first=$!
timeout 300 wine "$fernwick" silent >"$work/run2.log" 2>&1 &
second=$!
wait "$first" || rc1=$?
wait "$second" || rc2=$?
echo "exit codes: $rc1 $rc2"
for rc in "$rc1" "$rc2"; do
  case $rc in 0 | 6 | 9) ;; *) fail "a run ended with $rc" ;; esac
done
[ "$rc1" -eq 9 ] || [ "$rc2" -eq 9 ] || fail "neither run found the other (exit codes $rc1 and $rc2)"
[ "$rc1" -ne 9 ] || [ "$rc2" -ne 9 ] || fail "both runs ended with 9"
grep -q 'Another Fernwick is gathering or packing' "$work/run1.log" "$work/run2.log" ||
  fail "the run that ended with 9 said nothing on standard error"
[ -f "$output/VoxtraInfo.cab" ] || fail "no cabinet; the work folder holds: $(ls -A "$output" | tr '\n' ' ')"
cabextract -q -t "$output/VoxtraInfo.cab" || fail "the cabinet is broken"
if [ "$rc1" -eq 0 ] || [ "$rc2" -eq 0 ]; then
  cabextract -q -d "$work/cab" "$output/VoxtraInfo.cab"
  grep -q 'OS Platform IP Config Info:' "$work/cab/VoxtraSystemInfo.txt" || fail "exit 0 without the IP configuration"
  [ -s "$work/cab/SwitchReport.html" ] || fail "exit 0 without the switch report"
fi
[ ! -e "$output/FernwickRun.lock" ] || fail "the lock stayed behind"
echo "ok"
