#!/usr/bin/env bash
# cabmaker.exe and dumpel.exe on their own, as Fernwick starts them (by an
# unquoted path with a blank): a cabinet of two folders that cabextract and
# FDI extract identically, an optional source that is left out (exit 3, named
# in the /l list), the stale pieces of an earlier run removed and no
# temporary file left; a missing source that stops cabmaker; a source that
# another program holds open for writing (reading shared only) packed as it
# stands; an earlier cabinet held open the same way left as it was, with
# exit 1; dumpel's empty log (Wine keeps no records) and its refusal of a log
# that does not exist.
source "$(dirname "$0")/lib.sh"
work="$FERNWICK_WINE_WORK/cabmaker_dumpel"
# In the program folder of the build's kind, as Fernwick's own: blanks, and
# for a 32-bit program on 64-bit Windows parentheses too.
tools="$program_files\\Fernwick Tools"
dir="$program_files_unix/Fernwick Tools"
out="$drive_c/cabout"
rm -rf "$work"
mkdir -p "$work" "$dir" "$out" "$drive_c/x2"
cleanup() { rm -rf "$dir" "$out" "$drive_c/x2" "$drive_c/fdi_extract.exe"; }
trap cleanup EXIT
cp "$FERNWICK_WIN_BUILD/dist/cabmaker.exe" "$FERNWICK_WIN_BUILD/dist/dumpel.exe" "$dir/"
cp "$FERNWICK_WIN_BUILD/fdi_extract.exe" "$drive_c/"
cd "$out"

echo "== two folders, extracted alike by cabextract and FDI"
seq 1 40000 | sed 's/$/,Information,Voxtra Messaging,1000\r/' >a.csv
printf 'report\r\n' >b.txt
head -c 70000 /dev/urandom >c.bin
printf '.Set CabinetNameTemplate=two.cab\r\n.Set DiskDirectoryTemplate=.\r\n"a.csv"\r\n"b.txt" "report.txt"\r\n.New Folder\r\n"c.bin"\r\n"missing.txt" /optional=yes\r\n' >two.ddf
# What a cabmaker ended at its limit leaves behind.
printf 'cut off' >two.cab.part
printf 'FCI' >TWO.CAB.PART7
start="$FERNWICK_WIN_BUILD/start_command.exe"
rc=0
wine "$start" "$tools"'\cabmaker /f "C:\cabout\two.ddf" /l "C:\cabout\two.lst"' \
  >"$work/two.out" 2>&1 || rc=$?
[ "$rc" -eq 3 ] || fail "cabmaker ended with $rc, not 3 for a left-out optional file: $(cat "$work/two.out")"
grep -q 'optional "missing.txt" (C:\\cabout\\two.ddf line 7) left out' "$work/two.out" || fail "the optional file was not named"
[ "$(wc -l <two.lst)" -eq 1 ] && grep -q $'^missing.txt\t.*\r$' two.lst || fail "the list is not one line for missing.txt: $(od -c two.lst | head)"
leftover=$(ls | grep -i '^two\.cab\.part' || true)
[ -z "$leftover" ] || fail "temporary or stale files left: $leftover"
cabextract -l two.cab | grep -q 'c.bin' || fail "c.bin is not in the cabinet"
[ "$(cabextract -l two.cab | grep -c ' | ')" -ge 3 ] || fail "the cabinet lists too few files"
cabextract -q -t two.cab >/dev/null || fail "cabextract -t failed"
timeout 60 wine 'C:\fdi_extract.exe' 'C:\cabout\two.cab' 'C:\x2' >/dev/null || fail "FDI failed"
cmp a.csv "$drive_c/x2/a.csv" && cmp b.txt "$drive_c/x2/report.txt" && cmp c.bin "$drive_c/x2/c.bin" ||
  fail "FDI extracted other bytes"
[ -f setup.inf ] || fail "no setup.inf"
grep -q "^Folders: *2" setup.rpt || fail "setup.rpt does not tell two folders"

echo "== a source held open for writing, reading shared only: packed as it stands"
printf 'ServiceName,DisplayName\r\n"Voxtra Messaging"\r\n' >held.csv
printf '.Set CabinetNameTemplate=held.cab\r\n.Set DiskDirectoryTemplate=.\r\n"b.txt"\r\n"held.csv" /optional=yes\r\n' >held.ddf
wine "$start" --hold 'C:\cabout\held.csv' "$tools"'\cabmaker /f "C:\cabout\held.ddf"' \
  >"$work/held.out" 2>&1 || fail "cabmaker failed beside the held file: $(cat "$work/held.out")"
[ -s "$work/held.out" ] && fail "cabmaker complained beside the held file: $(cat "$work/held.out")"
cabextract -q -p -F held.csv held.cab | cmp -s - held.csv || fail "held.csv is not in the cabinet as it stands"

echo "== an earlier cabinet held open, deletion not shared: left as it was, exit 1, no temporaries"
printf 'last week' >kept.cab
printf '.Set CabinetNameTemplate=kept.cab\r\n.Set DiskDirectoryTemplate=.\r\n"b.txt"\r\n' >kept.ddf
rc=0
wine "$start" --hold 'C:\cabout\kept.cab' \
  "$tools"'\cabmaker /f "C:\cabout\kept.ddf" /l "C:\cabout\kept.lst"' >"$work/kept.out" 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "cabmaker ended with $rc beside a held cabinet: $(cat "$work/kept.out")"
[ "$(cat kept.cab)" = "last week" ] || fail "the held cabinet was changed"
grep -q 'cannot put the cabinet in place of "kept.cab"' "$work/kept.out" || fail "no reason given: $(cat "$work/kept.out")"
grep -q $'^\tcannot put the cabinet in place of "kept.cab"' kept.lst || fail "the list does not say why: $(cat kept.lst)"
leftover=$(ls | grep -i '^kept\.cab\.part' || true)
[ -z "$leftover" ] || fail "temporary files left: $leftover"
# Once it is let go, the next run replaces it.
wine "$start" "$tools"'\cabmaker /f "C:\cabout\kept.ddf" /l "C:\cabout\kept.lst"' \
  >"$work/kept2.out" 2>&1 || fail "cabmaker failed once the cabinet was let go: $(cat "$work/kept2.out")"
cabextract -q -t kept.cab >/dev/null || fail "the new kept.cab is no cabinet"
[ ! -s kept.lst ] || fail "the list of a clean run is not empty: $(cat kept.lst)"

echo "== a missing source: named on standard error, exit 1, no cabinet"
printf '.Set CabinetNameTemplate=none.cab\r\n.Set DiskDirectoryTemplate=.\r\n"a.csv"\r\n"gone.txt"\r\n' >none.ddf
rc=0
wine "$tools"'\cabmaker.exe' /f 'C:\cabout\none.ddf' >"$work/none.out" 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "cabmaker ended with $rc"
grep -q 'cannot read "gone.txt" (C:\\cabout\\none.ddf line 4)' "$work/none.out" || fail "gone.txt was not named: $(cat "$work/none.out")"
[ -e none.cab ] && fail "a cabinet was written without gone.txt"

echo "== dumpel: an empty log gives an empty file; an unknown log is refused"
wine "$start" "$tools"'\dumpel -d 5 -format dtTSIs -c -l system -f "C:\cabout\sys.csv"' \
  >"$work/dumpel.out" 2>&1 || fail "dumpel failed: $(cat "$work/dumpel.out")"
[ -f sys.csv ] && [ ! -s sys.csv ] || fail "sys.csv is missing or not empty"
rc=0
wine "$tools"'\dumpel.exe' -l nosuchlog -f 'C:\cabout\no.csv' >"$work/nolog.out" 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "dumpel ended with $rc for an unknown log"
grep -q 'cannot open the event log "nosuchlog"' "$work/nolog.out" || fail "no message for the unknown log"
[ -e no.csv ] && fail "a file was written for the unknown log"
echo "ok"
