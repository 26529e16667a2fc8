#!/usr/bin/env bash
# The real main window under Xvfb, operated by tests/wine/driver/guidriver:
# controls and captions, the states around Go, the report in the box, the
# clipboard, resizing, the three ways out, and the silent switch. On 64-bit
# Windows (Server 2008 R2) and on 32-bit Windows (Server 2003).
# wine prefixes: win64 win32
source "$(dirname "$0")/lib.sh"
fixtures="$FERNWICK_SOURCE_DIR/tests/fixtures/gui"
expected="$FERNWICK_SOURCE_DIR/tests/wine/expected/gui"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
work="$FERNWICK_WINE_WORK/gui"
mkdir -p "$work/no-odbc-drivers" "$drive_c/Voxtra"
cd "$work"
# No configuration database: its queries fail the same way on every machine.
export ODBCSYSINI="$work/no-odbc-drivers"
wine_import_reg "$fixtures/gui_server.reg"
trap 'wine_import_reg "$fixtures/gui_server_cleanup.reg"; rm -rf "$drive_c/Voxtra"' EXIT

# A failing driver step says which, before the test ends.
drive() { timeout 60 wine "$driver" "$@" || { echo "guidriver $* failed ($?)" >&2; return 1; }; }
# The date, the machine's name and its drives' figures differ from run to
# run. From the environment section on the report holds what the live
# machine answers (uptime, SQL Server, IP configuration); the sample image
# tests compare it. (Report lines end in CR; the empty line without one ends
# the box's text in a control listing.)
mask_date() {
  sed -E -e 's#(Gather Date/Time = )[0-9]{2}-[0-9]{2}-[0-9]{4} / [0-9]{2}:[0-9]{2}:[0-9]{2}#\1<date> / <time>#' \
    -e 's#^(     Voxtra server name = ).+$#\1<host>\r#' \
    -e 's#^(         Total capacity \(megs\)=|         Megs free=|         % free space=).*$#\1<live drive>\r#' \
    -e '/^Environment Information:/,/^$/{/^$/!d}'
}
start_fernwick() { wine "$FERNWICK_WIN_BUILD/Fernwick.exe" "$@" & drive wait || fail "main window did not appear"; }

# Ready: every control with its design caption, enabled state and place.
start_fernwick
drive controls >controls_ready.txt
expect_same_file "controls before Go" "$expected/controls_ready.txt" controls_ready.txt
[ -d "$drive_c/Voxtra/SystemInfo" ] || fail "work folder C:\\Voxtra\\SystemInfo was not created"
[ "$(drive priority)" = "4000" ] || fail "priority class $(drive priority), expected below normal (4000)"
# Tab order: save path, browse, write (disabled, skipped), box, exit, go.
[ "$(drive taborder | tr '\n' ' ')" = "1000 1002 1004 1005 1006 " ] || fail "tab order: $(drive taborder | tr '\n' ' ')"

# Paste to Clipboard before Go copies the greeting.
drive command 101
drive clipboard >clipboard_ready.txt
printf "Press 'Go' to start the gathering process.\r\n\r\nNOTE: Gathering process might take some time to complete." >greeting.txt
expect_same_file "clipboard before Go" greeting.txt clipboard_ready.txt

# Go: FINISHED, Write To File enabled, the report in the box.
drive click 1006
[ "$(drive text 1006)" = "FINISHED" ] || fail "Go button caption after Go: $(drive text 1006)"
drive controls >controls_finished.txt
grep -q '^1003 Button enabled' controls_finished.txt || fail "Write To File not enabled after Go"
grep -q '^1006 Button disabled' controls_finished.txt || fail "Go still enabled after Go"
drive text 1004 | mask_date >report.txt
expect_same_file "report in the box" "$expected/report.txt" report.txt
import -window root "$artifacts/main_window_after_go.png"

# Paste to Clipboard now copies the report.
drive command 101
drive clipboard | mask_date >clipboard_finished.txt
expect_same_file "clipboard after Go" "$expected/report.txt" clipboard_finished.txt

# One gathering per run: a second press changes nothing.
drive click 1006
[ "$(drive text 1006)" = "FINISHED" ] || fail "second Go changed the caption"

# Resizing below the minimum keeps every control at a size of zero or more.
drive resize 20 20 >size_small.txt
[ "$(cat size_small.txt)" = "103 153" ] || fail "window shrank to $(cat size_small.txt), expected the minimum 103 153"
drive controls >controls_small.txt
if grep -E ' -?[0-9]+,-?[0-9]+,-[0-9]+| -?[0-9]+,-?[0-9]+,[0-9]+,-[0-9]+' controls_small.txt; then fail "negative control size"; fi
drive resize 600 500 >/dev/null
drive controls | mask_date >controls_large.txt
expect_same_file "controls after growing" "$expected/controls_large.txt" controls_large.txt

# Exit button ends the program.
drive click 1005
drive gone || fail "Exit did not end the program"
wait

# The system close box ends it too, and so does File > Exit.
start_fernwick
drive close
drive gone || fail "closing the window did not end the program"
wait
start_fernwick
drive command 102
drive gone || fail "File > Exit did not end the program"
wait

# "/skippromptcheck" alone shows the window; "/SILENT" gathers and ends unseen.
start_fernwick /skippromptcheck
drive command 102
drive gone || fail "window after /skippromptcheck did not end"
wait
rm -rf "$drive_c/Voxtra/SystemInfo"
# From the distribution folder, so that packaging finds its programs and
# directive files and no message box waits for a person.
rc=0
timeout 60 wine "$FERNWICK_WIN_BUILD/dist/Fernwick.exe" /SILENT skippromptcheck || rc=$?
[ "$rc" -ne 124 ] || fail "the silent run did not end (a message box waiting for a person?)"
drive gone || fail "a silent run left a window"
[ -d "$drive_c/Voxtra/SystemInfo" ] || fail "silent run did not prepare the work folder"
echo "gui test passed"
