#!/usr/bin/env bash
# Packaging from the distribution folder installed into the prefix, against
# the sample server (4.2(1.0), so the switch report is packed too):
#  - the start-up hook starts test.bat with the version and the address;
#  - Go and Write To File in the window: the cabinet's report is the text
#    in the box, byte for byte, and Explorer is started on the folder;
#  - "Fernwick.exe silent" leaves exactly VoxtraInfo.cab and its digest file
#    in the work folder,
#    removes a read-only TelCfgRpt.vbs left behind, and its cabinet holds
#    the report, both event logs, the service list, the switch report and
#    the findings (Findings.csv, Summary.htm), the server image and the
#    manifest; cabextract and cabinet.dll's FDI both extract it; the native
#    `fernwick --verify` finds it whole (the Windows build's digests equal
#    GLib's), and names the entry of a copy with one byte changed;
#  - the native `fernwick --from-cab` replays that cabinet's image to the
#    packed report, byte for byte (the clock, the computer name and the
#    drives' figures come from the capture, no line is masked);
#  - so it does for a silent run with /SkipPromptCheck, whose image records
#    the switch: the replay, told no switch, skips the prompts too;
#  - a silent run that cannot make its work folder ends non-zero and says
#    why in the temporary folder's FernwickMessages.txt;
#  - the report names the Windows version that Wine claims.
# On 64-bit Windows (Server 2008 R2, the program under "Program Files (x86)"
# where it is 32-bit) and on 32-bit Windows (Server 2003).
# wine prefixes: win64 win32
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
cleanup() {
  sample_server_cleanup
  rm -f "$drive_c/recorded_commands.txt" "$drive_c/hook_arguments.txt" "$drive_c/fdi_extract.exe"
  rm -rf "$drive_c/x"
  [ -n "${messages:-}" ] && rm -f "$messages"
  return 0
}
trap cleanup EXIT
echo "== install the distribution folder"
install_sample_server "$FERNWICK_WINE_WORK/packaging"
for f in Fernwick.exe Tabulex.exe cabmaker.exe dumpel.exe voxtrainfo.ddf voxtrainfo_SwitchInfo.ddf media.bat TelCfgRpt.vbs; do
  [ -f "$dist/$f" ] || fail "the distribution folder lacks $f"
done
ls "$dist" | grep -Eiq 'test|guidriver|fdi_extract|recorder' && fail "a test program is in the distribution folder"

# Programs started without waiting: a stand-in Explorer found first in the
# program's own folder, and the start-up hook's test.bat.
cp "$FERNWICK_WIN_BUILD/cmdline_recorder.exe" "$install/explorer.exe"
printf '@echo %%*> C:\\hook_arguments.txt\r\n' >"$install/test.bat"

echo "== the window: start-up hook, Go, Write To File"
wine "$fernwick" &
timeout 60 wine "$driver" wait || fail "main window did not appear"
timeout 120 wine "$driver" click 1006 || fail "Go could not be pressed"
timeout 60 wine "$driver" text 1004 >"$work/window_report.txt" || fail "the report box could not be read"
timeout 300 wine "$driver" click 1003 || fail "Write To File could not be pressed"
timeout 60 wine "$driver" text 1004 >"$work/window_report_after.txt" || fail "the report box could not be read again"
timeout 60 wine "$driver" command 102 || fail "File > Exit could not be sent"
timeout 60 wine "$driver" gone || fail "Exit did not end the program"
wait
for _ in $(seq 50); do [ -s "$drive_c/hook_arguments.txt" ] && break; sleep 0.1; done
printf '2.0.4 http://voxtratools.norvane.com/Applications/Voxtra/TORB/TORB.html\r\n' >"$work/hook.expected"
expect_same_file "test.bat arguments" "$work/hook.expected" "$drive_c/hook_arguments.txt"
expect_same_file "the box after Write To File" "$work/window_report.txt" "$work/window_report_after.txt"
printf 'Explorer C:\\Program Files\\Voxtra\\SystemInfo\\\r\n' >"$work/explorer.expected"
expect_same_file "Explorer's command line" "$work/explorer.expected" "$drive_c/recorded_commands.txt"
[ -f "$output/VoxtraInfo.cab" ] || fail "Write To File made no cabinet"
cabextract -q -d "$work/window" "$output/VoxtraInfo.cab"
{ cat "$work/window_report.txt"; printf '\r\n'; } >"$work/window_report.expected"
expect_same_file "the packed report and the window's text" "$work/window_report.expected" "$work/window/VoxtraSystemInfo.txt"
rm -f "$install/explorer.exe" "$install/test.bat"

echo "== silent: exactly the cabinet, a read-only script left behind removed"
printf 'old' >"$output/TelCfgRpt.vbs"
chmod 444 "$output/TelCfgRpt.vbs"
rc=0
timeout 300 wine "$fernwick" silent || rc=$?
[ "$rc" -eq 0 ] || fail "the silent run ended with $rc"
[ "$(ls -A "$output" | tr '\n' ' ')" = "VoxtraInfo.cab VoxtraInfo.cab.sha256 " ] ||
  fail "the work folder holds: $(ls -A "$output" | tr '\n' ' ')"
(cd "$output" && sha256sum --quiet -c VoxtraInfo.cab.sha256) || fail "VoxtraInfo.cab.sha256 does not match"
cabextract -t "$output/VoxtraInfo.cab" >"$work/cabextract.txt" || fail "cabextract -t failed: $(cat "$work/cabextract.txt")"
cp "$FERNWICK_WIN_BUILD/fdi_extract.exe" "$drive_c/"
mkdir -p "$drive_c/x"
timeout 60 wine 'C:\fdi_extract.exe' 'C:\Program Files\Voxtra\SystemInfo\VoxtraInfo.cab' 'C:\x' >"$work/fdi.txt" ||
  fail "FDI could not extract the cabinet"
tr -d '\r' <"$work/fdi.txt" >"$work/fdi_names.txt"
printf '%s\n' VoxtraSystemInfo.txt system_event_log.csv application_event_log.csv ServiceInfo.csv SwitchReport.html \
  switchlog.txt Findings.csv Summary.htm ServerImage.cab Manifest.csv >"$work/names.expected"
expect_same_file "the files of the cabinet" "$work/names.expected" "$work/fdi_names.txt"
cabextract -q -d "$work/cab" "$output/VoxtraInfo.cab"
for f in $(cat "$work/names.expected"); do
  expect_same_file "$f through FDI" "$work/cab/$f" "$drive_c/x/$f"
done
head -c 20 "$work/cab/ServiceInfo.csv" | grep -q '^ServiceName,' || fail "the service list is not Tabulex's"
head -n 1 "$work/cab/Findings.csv" | grep -q $'^\xEF\xBB\xBFid,severity,section,title,evidence,fix' ||
  fail "Findings.csv has no byte-order mark and header"
# TelCfgRpt.vbs under Wine writes what the image's switch report gives natively.
for f in SwitchReport.html switchlog.txt; do
  expect_same_file "$f as natively" "$FERNWICK_SOURCE_DIR/tests/package/expected/$f" "$work/cab/$f"
done
grep -q '^TORB Version = 2.0.4' "$work/cab/VoxtraSystemInfo.txt" || fail "the packed report is not the report"
grep -q "^     Windows version = $(windows_version_number) " "$work/cab/VoxtraSystemInfo.txt" ||
  fail "Wine claims $FERNWICK_WINDOWS_VERSION, the report says: $(grep -a 'Windows version' "$work/cab/VoxtraSystemInfo.txt")"
[ "$(tail -c 2 "$work/cab/VoxtraSystemInfo.txt" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "the report does not end in CR LF"

echo "== the silent run's server image replays natively to the packed report, byte for byte"
native="${FERNWICK_NATIVE_BUILD:-$FERNWICK_SOURCE_DIR/build/native}/fernwick"
[ -x "$native" ] || fail "no native fernwick at $native (scripts/build.sh native)"
"$native" --out "$work/replay" --from-cab "$output/VoxtraInfo.cab" >"$work/replayed.txt" 2>"$work/replay.err" ||
  fail "the replay failed: $(cat "$work/replay.err")"
{ cat "$work/replayed.txt"; printf '\r\n'; } >"$work/replayed.expected"
expect_same_file "the replayed report and the packed one" "$work/cab/VoxtraSystemInfo.txt" "$work/replayed.expected"

echo "== the native --verify finds the cabinet whole, and a changed entry in a copy"
"$native" --verify "$output/VoxtraInfo.cab" >"$work/verify.txt" || fail "--verify: $(cat "$work/verify.txt")"
mkdir -p "$work/changed"
cp "$work/cab/"* "$work/changed/"
printf 'x' >>"$work/changed/ServiceInfo.csv"
(cd "$work/changed" && gcab -c -z ../changed.cab -- *)
rc=0
"$native" --verify "$work/changed.cab" >"$work/verify.txt" || rc=$?
[ "$rc" -eq 2 ] && grep -q '^changed: ServiceInfo.csv ' "$work/verify.txt" ||
  fail "--verify of a changed copy: exit $rc, $(cat "$work/verify.txt")"

echo "== a silent run with /SkipPromptCheck replays with its switch, byte for byte"
rc=0
timeout 300 wine "$fernwick" silent /SkipPromptCheck || rc=$?
[ "$rc" -eq 0 ] || fail "the silent run with /SkipPromptCheck ended with $rc"
rm -rf "$work/skip"
cabextract -q -d "$work/skip" "$output/VoxtraInfo.cab"
grep -q 'Skipped due to CLI switch /skippromptcheck' "$work/skip/VoxtraSystemInfo.txt" ||
  fail "the packed report of /SkipPromptCheck checked the prompts"
"$native" --out "$work/replay_skip" --from-cab "$output/VoxtraInfo.cab" >"$work/replayed_skip.txt" \
  2>"$work/replay_skip.err" || fail "the replay of /SkipPromptCheck failed: $(cat "$work/replay_skip.err")"
{ cat "$work/replayed_skip.txt"; printf '\r\n'; } >"$work/replayed_skip.expected"
expect_same_file "the replayed /SkipPromptCheck report and the packed one" "$work/skip/VoxtraSystemInfo.txt" \
  "$work/replayed_skip.expected"

echo "== silent without a work folder: non-zero, and the reason in the temporary folder"
temp=$(wine cmd /c echo "%TEMP%" | tr -d '\r\n')
messages=$(winepath -u "${temp%\\}\\FernwickMessages.txt")
rm -f "$messages"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n"Root Path"="Q:\\\\Nowhere\\\\"\r\n' >"$work/bad_root.reg"
wine_import_reg "$work/bad_root.reg"
rc=0
timeout 120 wine "$fernwick" silent || rc=$?
[ "$rc" -ne 0 ] || fail "a silent run without its work folder ended with 0"
grep -q 'Q:\\Nowhere\\SystemInfo' "$messages" || fail "FernwickMessages.txt does not name the work folder"
echo "ok"
