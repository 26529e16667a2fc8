#!/usr/bin/env bash
# Browse through the real folder picker (SHBrowseForFolder, flags 0x43):
# Cancel keeps the save path, a chosen folder comes back with a backslash,
# and the install folder is refused with its message, the earlier path kept.
source "$(dirname "$0")/lib.sh"
driver="$FERNWICK_WIN_BUILD/guidriver.exe"
browse="$FERNWICK_WIN_BUILD/browse_driver.exe"
work="$FERNWICK_WINE_WORK/browse"
install="$program_files_unix/Fernwick"
mkdir -p "$work" "$install" "$drive_c/browse_out"
cleanup() { rm -rf "$install" "$drive_c/browse_out" "$drive_c/SystemInfo"; }
trap cleanup EXIT
cp "$FERNWICK_WIN_BUILD/dist/Fernwick.exe" "$install/"
cd "$drive_c"

wine "$program_files\\Fernwick\\Fernwick.exe" &
timeout 60 wine "$driver" wait || fail "main window did not appear"
before=$(timeout 30 wine "$driver" text 1000)

echo "== Cancel keeps the save path"
timeout 60 wine "$browse" cancel || fail "the picker did not appear"
[ "$(timeout 30 wine "$driver" text 1000)" = "$before" ] || fail "Cancel changed the save path"

echo "== a chosen folder, with a backslash added"
timeout 60 wine "$browse" pick 'C:\browse_out' >"$work/pick.txt" || fail "the picker did not appear"
[ "$(timeout 30 wine "$driver" text 1000)" = 'C:\browse_out\' ] || fail "save path is $(wine "$driver" text 1000)"
[ -s "$work/pick.txt" ] && fail "a message followed an ordinary folder: $(cat "$work/pick.txt")"

echo "== the install folder is refused"
timeout 60 wine "$browse" pick "$program_files\\Fernwick" >"$work/refused.txt" || fail "the picker did not appear"
printf 'You cannot select the TORB install directory as the output for the system info.  Please select another directory.\n' \
  >"$work/refused.expected"
expect_same_file "the refusal" "$work/refused.expected" <(tr -d '\r' <"$work/refused.txt")
[ "$(timeout 30 wine "$driver" text 1000)" = 'C:\browse_out\' ] || fail "the refused folder stayed in the save path"

timeout 60 wine "$driver" command 102
timeout 60 wine "$driver" gone || fail "Exit did not end the program"
wait
echo "ok"
