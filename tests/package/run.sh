#!/usr/bin/env bash
# `fernwick --package` of the sample image: the work folder holds exactly
# VoxtraInfo.cab, cabextract verifies it, and it holds the golden report
# (with its final line end), the event logs as dumpel writes them, the
# service list, the switch report, the golden findings and the server image,
# which `fernwick --from-cab` replays to the golden report; under "/debug"
# the native --summary and --findings-csv equal the cabinet's. Usage: run.sh
# FERNWICK_BINARY
set -euo pipefail
fernwick=${1:?fernwick binary}
root=$(cd "$(dirname "$0")/../.." && pwd)
expected="$root/tests/package/expected"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$fernwick" --package --out "$out/run" "$root/samples/exchange2003-42" >"$out/report.txt" 2>"$out/stderr.txt" ||
  { cat "$out/stderr.txt"; exit 1; }
work="$out/run/drives/C/Program Files/Voxtra/SystemInfo"
[ "$(ls -A "$work" | tr '\n' ' ')" = "VoxtraInfo.cab VoxtraInfo.cab.sha256 " ] ||
  { echo "work folder holds: $(ls -A "$work")"; exit 1; }
(cd "$work" && sha256sum --quiet -c VoxtraInfo.cab.sha256)
cabextract -q -t "$work/VoxtraInfo.cab" >/dev/null
cabextract -q -d "$out/cab" "$work/VoxtraInfo.cab"
( cd "$out/cab" && ls ) >"$out/names.txt"
diff <(printf '%s\n' Findings.csv Manifest.csv ServerImage.cab ServiceInfo.csv Summary.htm SwitchReport.html \
  VoxtraSystemInfo.txt application_event_log.csv switchlog.txt system_event_log.csv) "$out/names.txt"
cmp "$root/tests/golden/exchange2003-42.findings.csv" "$out/cab/Findings.csv"
{ cat "$root/tests/golden/exchange2003-42.txt"; printf '\r\n'; } | cmp - "$out/cab/VoxtraSystemInfo.txt"
for f in ServiceInfo.csv SwitchReport.html application_event_log.csv switchlog.txt system_event_log.csv; do
  cmp "$expected/$f" "$out/cab/$f"
done
echo "package of the sample image: ok"

# With "/debug" the packed report holds DEBUG lines the gathered one lacks:
# --summary and --findings-csv give the cabinet's files all the same.
"$fernwick" --package --summary "$out/debug.htm" --findings-csv "$out/debug.csv" --out "$out/debug" \
  "$root/samples/exchange2003-42" /debug >/dev/null 2>"$out/stderr.txt" || { cat "$out/stderr.txt"; exit 1; }
cabextract -q -d "$out/debug_cab" "$out/debug/drives/C/Program Files/Voxtra/SystemInfo/VoxtraInfo.cab"
grep -q '^DEBUG: ' "$out/debug_cab/VoxtraSystemInfo.txt" || { echo "/debug: no DEBUG line packed"; exit 1; }
cmp "$out/debug.htm" "$out/debug_cab/Summary.htm"
cmp "$out/debug.csv" "$out/debug_cab/Findings.csv"
echo "--summary and --findings-csv equal the cabinet's under /debug: ok"

# The image in the cabinet replays to the same report; "nocapture" leaves it out.
"$fernwick" --out "$out/replay" --from-cab "$work/VoxtraInfo.cab" >"$out/replayed.txt" 2>"$out/stderr.txt" ||
  { cat "$out/stderr.txt"; exit 1; }
cmp "$root/tests/golden/exchange2003-42.txt" "$out/replayed.txt"
"$fernwick" --package --out "$out/nocapture" "$root/samples/exchange2003-42" NoCapture >/dev/null 2>"$out/stderr.txt" ||
  { cat "$out/stderr.txt"; exit 1; }
cabextract -q -l "$out/nocapture/drives/C/Program Files/Voxtra/SystemInfo/VoxtraInfo.cab" | grep -c ServerImage &&
  { echo "nocapture: the image was packed"; exit 1; }
echo "replay from the cabinet, nocapture: ok"

# The switch "silent" packages the same way.
"$fernwick" --out "$out/silent" "$root/samples/exchange2003-42" silent >/dev/null 2>"$out/stderr.txt" ||
  { cat "$out/stderr.txt"; exit 1; }
[ "$(ls -A "$out/silent/drives/C/Program Files/Voxtra/SystemInfo" | tr '\n' ' ')" = \
  "VoxtraInfo.cab VoxtraInfo.cab.sha256 " ] || { echo "silent: no cabinet alone"; exit 1; }
echo "silent package: ok"

# A stale record from an earlier run goes; a shipped file missing from the
# install folder is a lost part: exit code 6, and the record travels in the
# cabinet.
mkdir -p "$out/lost/drives/C/Program Files/Voxtra/SystemInfo" "$out/shipped"
printf 'from an earlier run\r\n' >"$out/lost/drives/C/Program Files/Voxtra/SystemInfo/FernwickMessages.txt"
cp "$root/shipped/"* "$out/shipped/"
rm "$out/shipped/TelCfgRpt.vbs"
rc=0
"$fernwick" --shipped "$out/shipped" --out "$out/lost" "$root/samples/exchange2003-42" silent >/dev/null \
  2>"$out/stderr.txt" || rc=$?
[ "$rc" -eq 6 ] || { echo "a lost part: exit code $rc, not 6"; cat "$out/stderr.txt"; exit 1; }
cabextract -q -d "$out/lost_cab" "$out/lost/drives/C/Program Files/Voxtra/SystemInfo/VoxtraInfo.cab"
# The lines about the switch report's files come after the programs ran:
# the packed record holds them all the same.
printf '%s\r\n' 'Could not find TelCfgRpt.vbs in the install directory.  Please uninstall and reinstall TORB.' \
  '(error) in cmdWriteToFile routine:media.bat wrote no SwitchReport.html; that part of the package is lost' \
  '(error) in cmdWriteToFile routine:media.bat wrote no switchlog.txt; that part of the package is lost' |
  cmp - "$out/lost_cab/FernwickMessages.txt"
rc=0
"$fernwick" --verify "$out/lost/drives/C/Program Files/Voxtra/SystemInfo/VoxtraInfo.cab" >"$out/verify.txt" || rc=$?
[ "$rc" -eq 6 ] && grep -q '^lost in the run that made it: SwitchReport.html' "$out/verify.txt" ||
  { echo "--verify of a cabinet with a lost part: exit $rc"; cat "$out/verify.txt"; exit 1; }
echo "a lost part: ok"

# --findings never hides a packaging code: no directive file, no cabinet,
# exit 5 whatever the findings are; a --summary file that cannot be written
# gives 13, but only after the report and the cabinet are written.
mkdir -p "$out/nocab_shipped"
cp "$root/shipped/"* "$out/nocab_shipped/"
rm "$out/nocab_shipped/voxtrainfo_SwitchInfo.ddf"
rc=0
"$fernwick" --package --findings --shipped "$out/nocab_shipped" --out "$out/nocab" "$root/samples/exchange2003-42" \
  >/dev/null 2>"$out/stderr.txt" || rc=$?
[ "$rc" -eq 5 ] || { echo "--package --findings without a cabinet: exit code $rc, not 5"; cat "$out/stderr.txt"; exit 1; }
rc=0
"$fernwick" --package --summary "$out/no/such/folder/Summary.htm" --out "$out/summary" \
  "$root/samples/exchange2003-42" >/dev/null 2>"$out/stderr.txt" || rc=$?
[ "$rc" -eq 13 ] || { echo "an unwritable --summary: exit code $rc, not 13"; cat "$out/stderr.txt"; exit 1; }
[ -f "$out/summary/drives/C/Program Files/Voxtra/SystemInfo/VoxtraInfo.cab" ] ||
  { echo "an unwritable --summary cost the cabinet"; exit 1; }
echo "findings and packaging codes: ok"

# A capture replays with its run's switches unless others are given: the
# report of a run with "skippromptcheck" comes back without the switch.
"$fernwick" --out "$out/skip1" --capture "$out/skipcap" "$root/samples/domino-50-prompts" skippromptcheck \
  >"$out/skip.txt" 2>/dev/null
grep -q 'Skipped due to CLI switch /skippromptcheck' "$out/skip.txt" || { echo "skippromptcheck: not skipped"; exit 1; }
"$fernwick" --out "$out/skip2" "$out/skipcap" >"$out/skip.replay.txt" 2>"$out/stderr.txt" ||
  { echo "the capture of skippromptcheck does not replay"; cat "$out/stderr.txt"; exit 1; }
cmp "$out/skip.txt" "$out/skip.replay.txt"
echo "switches of a capture: ok"

# --capture into a folder that is not empty: exit 8, and nothing is written.
before=$(cd "$out/skipcap" && find . -type f -exec md5sum {} + | sort)
rc=0
"$fernwick" --out "$out/skip3" --capture "$out/skipcap" "$root/samples/exchange2003-42" >"$out/skip3.txt" \
  2>"$out/stderr.txt" || rc=$?
[ "$rc" -eq 8 ] && [ ! -s "$out/skip3.txt" ] && [ ! -e "$out/skip3" ] || { echo "--capture into a full folder: exit $rc"; exit 1; }
[ "$before" = "$(cd "$out/skipcap" && find . -type f -exec md5sum {} + | sort)" ] || { echo "the full folder changed"; exit 1; }
echo "--capture refuses a folder that is not empty: ok"

# --from-cab takes captures only: a cabinet whose image is an ordinary one
# (it could run a database script of its own) is refused with one line.
mkdir -p "$out/plain"
(cd "$root/samples/exchange2003-42" && find . -type f -printf '%P\0' | xargs -0 gcab -c "$out/plain/ServerImage.cab")
(cd "$out/plain" && gcab -c VoxtraInfo.cab ServerImage.cab)
rc=0
"$fernwick" --out "$out/plain/out" --from-cab "$out/plain/VoxtraInfo.cab" >"$out/plain.txt" 2>"$out/stderr.txt" || rc=$?
[ "$rc" -eq 2 ] && [ ! -s "$out/plain.txt" ] && [ "$(wc -l <"$out/stderr.txt")" -eq 1 ] &&
  grep -q 'is no capture' "$out/stderr.txt" || { echo "an ordinary image in a cabinet: exit $rc"; cat "$out/stderr.txt"; exit 1; }
echo "--from-cab refuses an image that is no capture: ok"

# --verify: the cabinet made above is whole; a copy with one entry changed,
# one without its manifest and one with an entry added are not, each named.
"$fernwick" --verify "$work/VoxtraInfo.cab" >"$out/verify.txt" ||
  { echo "--verify of a fresh cabinet failed"; cat "$out/verify.txt"; exit 1; }
grep -q '^VoxtraInfo.cab is whole: the 9 entries its manifest lists are as they were packed$' "$out/verify.txt" ||
  { cat "$out/verify.txt"; exit 1; }
mkdir -p "$out/tampered"
cp -r "$out/cab" "$out/tampered/files"
printf 'x' >>"$out/tampered/files/ServiceInfo.csv"
(
  cd "$out/tampered/files"
  gcab -c -z ../changed.cab -- *
  printf 'extra\n' >extra.txt
  gcab -c -z ../added.cab -- *
  rm Manifest.csv extra.txt
  gcab -c -z ../nomanifest.cab -- *
)
cp "$work/VoxtraInfo.cab.sha256" "$out/tampered/changed.cab.sha256"
rc=0; "$fernwick" --verify "$out/tampered/changed.cab" >"$out/verify.txt" || rc=$?
[ "$rc" -eq 2 ] && grep -q '^changed: ServiceInfo.csv ' "$out/verify.txt" &&
  grep -q 'changed.cab.sha256 beside it' "$out/verify.txt" ||
  { echo "--verify of a changed entry: exit $rc"; cat "$out/verify.txt"; exit 1; }
rc=0; "$fernwick" --verify "$out/tampered/added.cab" >"$out/verify.txt" || rc=$?
[ "$rc" -eq 2 ] && grep -q '^not in the manifest: extra.txt' "$out/verify.txt" ||
  { echo "--verify of an added entry: exit $rc"; cat "$out/verify.txt"; exit 1; }
rc=0; "$fernwick" --verify "$out/tampered/nomanifest.cab" >"$out/verify.txt" || rc=$?
[ "$rc" -eq 2 ] && grep -q 'holds no Manifest.csv' "$out/verify.txt" ||
  { echo "--verify without a manifest: exit $rc"; cat "$out/verify.txt"; exit 1; }
echo "--verify: ok"
