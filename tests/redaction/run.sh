#!/usr/bin/env bash
# The redaction of every sample image (switches "silent redact", a keyword
# file beside Fernwick): the package is made (exit code 0, or 6 where the
# sample's capture batch files write nothing), its names and
# addresses are gone from every file, the server image included, in every
# letter case and encoding, while the kept items stand (names/<image>.txt,
# check_names.py); replaying the redacted package (fernwick --from-cab)
# gives its packed report byte for byte and its findings (ids and
# severities); the map stays beside the package, unpacked, and a second run
# with it gives the same pseudonyms. Then a malformed keyword file (no
# package, exit code 5, the reason recorded, the files kept) and
# `fernwick --redact` of a plain package. Usage: run.sh FERNWICK_BINARY
set -uo pipefail
fernwick=${1:?fernwick binary}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0
check() {  # NAME CONDITION_OK MESSAGE
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: $3"; fi
}
mkdir -p "$scratch/shipped"
cp "$root/shipped/"* "$scratch/shipped/"
printf '; Names only this site knows.\r\nProject Heron\r\n' >"$scratch/shipped/RedactionKeywords.txt"
work_of() { find "$1" -name VoxtraInfo.cab -printf '%h\n' | head -1; }
# Id and severity of each finding of a Findings.csv (the first two fields).
ids() { tail -n +2 "$1" | cut -d, -f1,2 | sort; }

for image in "$root"/samples/*/; do
  name=$(basename "$image")
  out=$scratch/$name
  "$fernwick" --shipped "$scratch/shipped" --out "$out/run" "$image" silent redact >/dev/null 2>"$out.err"
  rc=$?
  work=$(work_of "$out/run")
  # A sample without the capture batch files' outputs stands for a server
  # where they wrote nothing: a lost part, exit code 6.
  expected=0
  [ -f "$image/programs/systeminfo.txt" ] && [ -f "$image/programs/ipconfig.txt" ] || expected=6
  [ "$rc" = "$expected" ] && [ -n "$work" ]
  check "$name package" $? "exit code $rc: $(tail -3 "$out.err")"
  [ -n "$work" ] || continue
  mkdir -p "$out/cab/ServerImage"
  cabextract -q -d "$out/cab" "$work/VoxtraInfo.cab" &&
    cabextract -q -d "$out/cab/ServerImage" "$out/cab/ServerImage.cab" && rm "$out/cab/ServerImage.cab"
  check "$name unpacked" $? "cabextract failed"
  python3 "$here/check_names.py" "$here/names/$name.txt" "$out/cab" >"$out.names"
  check "$name names" $? "$(head -8 "$out.names")"
  [ -f "$work/RedactionMap.txt" ] && ! cabextract -q -l "$work/VoxtraInfo.cab" | grep -qi RedactionMap
  check "$name map beside, not packed" $? "$(ls "$work")"
  grep -q "VoxtraInfo.cab is redacted: " "$out/cab/FernwickMessages.txt" &&
    grep -q "VoxtraInfo.cab is redacted: " "$out/cab/Summary.htm" &&
    grep -q "Checked before packing: none of the map's [0-9]* originals" "$out/cab/FernwickMessages.txt"
  check "$name note" $? "no note (or no check) in FernwickMessages.txt and Summary.htm"

  # The proof: the redacted image replays to the redacted report.
  "$fernwick" --out "$out/replay" --from-cab "$work/VoxtraInfo.cab" >"$out/replay.txt" 2>"$out/replay.err"
  { cat "$out/replay.txt"; printf '\r\n'; } | cmp -s - "$out/cab/VoxtraSystemInfo.txt"
  check "$name replay" $? "$(head -3 "$out/replay.err"; { cat "$out/replay.txt"; printf '\r\n'; } | diff - "$out/cab/VoxtraSystemInfo.txt" | head -10)"
  "$fernwick" --out "$out/replay2" --findings --findings-csv "$out/replay.csv" --from-cab "$work/VoxtraInfo.cab" \
    >/dev/null 2>&1
  diff <(ids "$out/replay.csv") <(ids "$out/cab/Findings.csv") >"$out.ids"
  check "$name replay findings" $? "$(head -5 "$out.ids")"
done

# The map is reused: a second package of the same server says the same.
image=$root/samples/exchange2003-42
out=$scratch/again
work=$(work_of "$scratch/exchange2003-42/run")
mkdir -p "$out"
cp -r "$scratch/exchange2003-42/run" "$out/run"
"$fernwick" --shipped "$scratch/shipped" --out "$out/run" "$image" silent redact >/dev/null 2>&1
cabextract -q -d "$out/cab" "$(work_of "$out/run")/VoxtraInfo.cab"
cmp -s "$out/cab/VoxtraSystemInfo.txt" "$scratch/exchange2003-42/cab/VoxtraSystemInfo.txt"
check "map reused" $? "$(diff "$out/cab/VoxtraSystemInfo.txt" "$scratch/exchange2003-42/cab/VoxtraSystemInfo.txt" | head -6)"

# A line whose layout depends on a name's length: the missing-prompt list is
# cut after a number of characters, so with a keyword in its paths ("SPA",
# a longer pseudonym) the replay cuts it earlier. The note says so, and the
# replay differs in nothing else.
mkdir -p "$scratch/spashipped"
cp "$root/shipped/"* "$scratch/spashipped/"
printf 'SPA\r\n' >"$scratch/spashipped/RedactionKeywords.txt"
"$fernwick" --shipped "$scratch/spashipped" --out "$scratch/spa" "$root/samples/domino-50-prompts" silent redact \
  >/dev/null 2>&1
spa=$(work_of "$scratch/spa")
mkdir -p "$scratch/spa.cab"
cabextract -q -d "$scratch/spa.cab" "$spa/VoxtraInfo.cab"
"$fernwick" --out "$scratch/spa.replay" --from-cab "$spa/VoxtraInfo.cab" >"$scratch/spa.txt" 2>/dev/null
{ cat "$scratch/spa.txt"; printf '\r\n'; } | diff - "$scratch/spa.cab/VoxtraSystemInfo.txt" | grep '^[<>]' >"$scratch/spa.diff"
[ -s "$scratch/spa.diff" ] && ! grep -qv '^>          C:\\Program Files\\Voxtra\\Localize\\Prompts\\KEYWORD01\\' "$scratch/spa.diff" &&
  grep -q 'The list of missing prompts .* may end a line earlier or later' "$scratch/spa.cab/FernwickMessages.txt"
check "length-dependent prompt list" $? "$(head -3 "$scratch/spa.diff"); $(tail -1 "$scratch/spa.cab/FernwickMessages.txt")"

# A malformed keyword file: nothing is packed in the clear.
mkdir -p "$scratch/badshipped"
cp "$scratch/shipped/"* "$scratch/badshipped/"
printf 'Project Heron\r\nab\r\n' >"$scratch/badshipped/RedactionKeywords.txt"
"$fernwick" --shipped "$scratch/badshipped" --out "$scratch/bad" "$image" silent redact >/dev/null 2>&1
rc=$?
bad=$(find "$scratch/bad" -name FernwickMessages.txt -printf '%h\n' | head -1)
[ "$rc" = 5 ] && [ -n "$bad" ] && [ ! -e "$bad/VoxtraInfo.cab" ] && [ ! -e "$bad/ServerImage.cab" ] &&
  [ -f "$bad/VoxtraSystemInfo.txt" ] &&
  grep -q "cannot be redacted: the keyword file .*RedactionKeywords.txt, line 2: \"ab\" is shorter than 3 characters" \
    "$bad/FernwickMessages.txt"
check "malformed keyword file" $? "exit code $rc; $(ls "$bad" 2>/dev/null | tr '\n' ' '); $(cat "$bad/FernwickMessages.txt" 2>/dev/null)"

# fernwick --redact of a package made without "redact".
"$fernwick" --shipped "$scratch/shipped" --out "$scratch/plain" "$image" silent >/dev/null 2>&1
plain=$(work_of "$scratch/plain")
printf 'Project Heron\r\n' >"$scratch/keywords.txt"
"$fernwick" --redact --map "$scratch/cli.map" --keywords "$scratch/keywords.txt" "$plain/VoxtraInfo.cab" \
  "$scratch/cli.cab" 2>"$scratch/cli.err"
check "--redact" $? "$(cat "$scratch/cli.err")"
mkdir -p "$scratch/cli/ServerImage"
cabextract -q -d "$scratch/cli" "$scratch/cli.cab" &&
  cabextract -q -d "$scratch/cli/ServerImage" "$scratch/cli/ServerImage.cab" && rm "$scratch/cli/ServerImage.cab"
python3 "$here/check_names.py" "$here/names/exchange2003-42.txt" "$scratch/cli" >"$scratch/cli.names"
check "--redact names" $? "$(head -8 "$scratch/cli.names")"
"$fernwick" --out "$scratch/cli.replay" --from-cab "$scratch/cli.cab" >"$scratch/cli.txt" 2>/dev/null
{ cat "$scratch/cli.txt"; printf '\r\n'; } | cmp -s - "$scratch/cli/VoxtraSystemInfo.txt"
check "--redact replay" $? "$({ cat "$scratch/cli.txt"; printf '\r\n'; } | diff - "$scratch/cli/VoxtraSystemInfo.txt" | head -6)"
printf 'host\tVOXTRA01\n' >"$scratch/bad.map"
"$fernwick" --redact --map "$scratch/bad.map" "$plain/VoxtraInfo.cab" "$scratch/bad.cab" 2>"$scratch/bad.err"
rc=$?
[ "$rc" = 2 ] && [ ! -e "$scratch/bad.cab" ] && grep -q "bad.map, line 1: not three fields" "$scratch/bad.err"
check "--redact malformed map" $? "exit code $rc: $(cat "$scratch/bad.err")"

# The customer's side: the redacted report of a package, revealed with its
# map, is the plain report again (in the letter case the map holds).
mkdir -p "$scratch/plain.cab"
cabextract -q -d "$scratch/plain.cab" "$plain/VoxtraInfo.cab"
cp "$scratch/exchange2003-42/cab/VoxtraSystemInfo.txt" "$scratch/reply.txt"
"$fernwick" --reveal --map "$(work_of "$scratch/exchange2003-42/run")/RedactionMap.txt" "$scratch/reply.txt" \
  2>"$scratch/reveal.err"
diff -i "$scratch/reply.revealed.txt" "$scratch/plain.cab/VoxtraSystemInfo.txt" >"$scratch/reveal.diff"
check "--reveal" $? "$(cat "$scratch/reveal.err"; head -6 "$scratch/reveal.diff")"

# A map that cannot be written (a folder in its place): no OUT.cab.
mkdir -p "$scratch/folder.map"
"$fernwick" --redact --map "$scratch/folder.map" "$plain/VoxtraInfo.cab" "$scratch/nomap.cab" 2>"$scratch/nomap.err"
rc=$?
[ "$rc" = 5 ] && [ ! -e "$scratch/nomap.cab" ] && grep -q "cannot write the map" "$scratch/nomap.err"
check "--redact unwritable map" $? "exit code $rc: $(cat "$scratch/nomap.err")"

echo "redaction: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
