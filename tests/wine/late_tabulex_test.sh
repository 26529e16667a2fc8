#!/usr/bin/env bash
# A silent run whose Tabulex outlives its 30 s time-out and still holds
# ServiceInfo.csv open for writing (others may only read it) while cabmaker
# packs: the cabinet holds the report and the service list as it stood, the
# run's record says Tabulex was late, and the exit code is 6 (a part timed
# out). Costs the 30 s wait.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
trap sample_server_cleanup EXIT
install_sample_server "$FERNWICK_WINE_WORK/late_tabulex"
cp "$FERNWICK_WIN_BUILD/late_tabulex.exe" "$install/Tabulex.exe"

rc=0
timeout 300 wine "$fernwick" silent || rc=$?
[ -f "$output/VoxtraInfo.cab" ] || fail "no cabinet (exit code $rc); the work folder holds: $(ls -A "$output" | tr '\n' ' ')"
[ "$rc" -eq 6 ] || fail "the silent run ended with $rc, not 6"
cabextract -q -d "$work/cab" "$output/VoxtraInfo.cab" || fail "cabextract failed"
grep -q '^TORB Version = 2.0.4' "$work/cab/VoxtraSystemInfo.txt" || fail "the cabinet lacks the report"
head -c 12 "$work/cab/ServiceInfo.csv" | grep -q '^ServiceName,' || fail "the cabinet lacks the service list"
printf 'Tabulex did not end within 30 seconds; Write To File went on while it still ran\r\n' >"$work/record.expected"
expect_same_file "the packed record" "$work/record.expected" "$work/cab/FernwickMessages.txt"
expect_same_file "the record in the work folder" "$work/record.expected" "$output/FernwickMessages.txt"
# ServiceInfo.csv may stay: the clean-up cannot delete it while Tabulex holds it.
[ ! -e "$output/VoxtraSystemInfo.txt" ] || fail "the clean-up did not run"
echo "ok"
