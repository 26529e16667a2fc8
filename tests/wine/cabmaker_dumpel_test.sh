#!/usr/bin/env bash
# cabmaker.exe and dumpel.exe on their own, as Fernwick starts them (by an
# unquoted path with a blank): a cabinet of two folders that cabextract and
# FDI extract identically, a missing source that stops cabmaker, an optional
# one that is left out, one that another program holds open for writing
# (reading shared only) packed as it stands; dumpel's empty log (Wine keeps no records) and its
# refusal of a log that does not exist.
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
start="$FERNWICK_WIN_BUILD/start_command.exe"
wine "$start" "$tools"'\cabmaker /f "C:\cabout\two.ddf"' >"$work/two.out" 2>&1 || fail "cabmaker failed: $(cat "$work/two.out")"
grep -q 'optional "missing.txt" (C:\\cabout\\two.ddf line 7) left out' "$work/two.out" || fail "the optional file was not named"
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
