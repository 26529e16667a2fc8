#!/usr/bin/env bash
# An earlier VoxtraInfo.cab in the work folder that another program holds
# open (shared for reading only, so it can be neither deleted nor replaced):
# a silent run either makes a fresh cabinet of its own or ends with 5 and
# keeps the report and the other files; it never passes the old file off as
# this run's cabinet with exit code 0. So for an earlier ServiceInfo.csv
# held open: the cabinet never holds last week's service list as this run's;
# where the file stays, the part is lost (exit 6), the record and the
# manifest name it, and the native --verify says so (6).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
holder=""
cleanup() {
  if [ -n "$holder" ]; then
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
  fi
  sample_server_cleanup
}
trap cleanup EXIT
install_sample_server "$FERNWICK_WINE_WORK/held_cabinet"
mkdir -p "$output"
printf 'last week'"'"'s cabinet\r\n' >"$output/VoxtraInfo.cab"
cp "$output/VoxtraInfo.cab" "$work/old.cab"
cp "$FERNWICK_WIN_BUILD/hold_file.exe" "$work/hold_file.exe"
wine "$work/hold_file.exe" 'C:\Program Files\Voxtra\SystemInfo\VoxtraInfo.cab' 90 >"$work/holder.log" 2>&1 &
holder=$!
for _ in $(seq 100); do [ -e "$output/VoxtraInfo.cab.held" ] && break; sleep 0.2; done
[ -e "$output/VoxtraInfo.cab.held" ] || fail "the holder did not open the cabinet"

rc=0
timeout 300 wine "$fernwick" silent || rc=$?
case $rc in
  5)
    cmp -s "$work/old.cab" "$output/VoxtraInfo.cab" || fail "exit 5, but the old cabinet changed"
    [ -f "$output/VoxtraSystemInfo.txt" ] || fail "exit 5, but the report was deleted"
    grep -q 'VoxtraInfo.cab of an earlier run cannot be removed' "$output/FernwickMessages.txt" ||
      fail "exit 5 without the reason in the record"
    ;;
  0 | 6)
    cmp -s "$work/old.cab" "$output/VoxtraInfo.cab" && fail "exit $rc with the old cabinet as this run's"
    cabextract -q -t "$output/VoxtraInfo.cab" || fail "exit $rc with a broken cabinet"
    cabextract -q -d "$work/cab" "$output/VoxtraInfo.cab"
    grep -q '^TORB Version = ' "$work/cab/VoxtraSystemInfo.txt" || fail "the fresh cabinet lacks the report"
    ;;
  *) fail "the silent run ended with $rc" ;;
esac
echo "ok (exit code $rc)"

kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
holder=""
rm -rf "$output" "$work/cab"
mkdir -p "$output"
printf 'ServiceName,DisplayName\r\nlast week,s list\r\n' >"$output/ServiceInfo.csv"
wine "$work/hold_file.exe" 'C:\Program Files\Voxtra\SystemInfo\ServiceInfo.csv' 90 >"$work/holder.log" 2>&1 &
holder=$!
for _ in $(seq 100); do [ -e "$output/ServiceInfo.csv.held" ] && break; sleep 0.2; done
[ -e "$output/ServiceInfo.csv.held" ] || fail "the holder did not open the service list"
rc=0
timeout 300 wine "$fernwick" silent || rc=$?
[ -f "$output/VoxtraInfo.cab" ] || fail "no cabinet (exit code $rc)"
cabextract -q -d "$work/cab" "$output/VoxtraInfo.cab"
grep -q 'last week' "$work/cab/ServiceInfo.csv" 2>/dev/null && fail "exit $rc with last week's service list packed"
native="${FERNWICK_NATIVE_BUILD:-$FERNWICK_SOURCE_DIR/build/native}/fernwick"
verify=0
"$native" --verify "$output/VoxtraInfo.cab" >"$work/verify.txt" || verify=$?
case $rc in
  6)
    [ ! -e "$work/cab/ServiceInfo.csv" ] || fail "exit 6, yet a service list was packed"
    grep -q 'ServiceInfo.csv of an earlier run cannot be removed' "$work/cab/FernwickMessages.txt" ||
      fail "exit 6 without the reason in the packed record"
    grep -q '^ServiceInfo.csv,,,.*,lost: ' "$work/cab/Manifest.csv" || fail "the manifest does not list the lost part"
    [ "$verify" -eq 6 ] && grep -q '^lost in the run that made it: ServiceInfo.csv' "$work/verify.txt" ||
      fail "--verify: exit $verify, $(cat "$work/verify.txt")"
    ;;
  0) [ "$verify" -eq 0 ] || fail "--verify: exit $verify, $(cat "$work/verify.txt")" ;;
  *) fail "the silent run with a held service list ended with $rc" ;;
esac
echo "ok: a held service list (exit code $rc)"
