#!/usr/bin/env bash
# "Fernwick.exe silent redact" against the sample server, on 64-bit Windows
# (Server 2008 R2, the shipping 32-bit program under "Program Files (x86)"):
#  - it ends with 0 and leaves VoxtraInfo.cab, the map RedactionMap.txt
#    (not packed) and the record FernwickMessages.txt (which holds the
#    redaction's note) in the work folder;
#  - no name or address of the server, of the sample's registry and
#    database or of Wine's own machine (its computer name, host name,
#    domain, addresses, gateway and MAC addresses), nor the word of the
#    keyword file RedactionKeywords.txt beside Fernwick.exe, is left in any
#    file of the cabinet or its server image, in any letter case, in ANSI
#    or UTF-16LE, while versions and product names stay
#    (tests/redaction/check_names.py);
#  - Summary.htm and FernwickMessages.txt say the cabinet is redacted and
#    that the check for every original passed before it was made;
#  - the native `fernwick --from-cab` replays the redacted server image to
#    the packed, redacted report byte for byte, with the same findings (ids
#    and severities).
# wine prefixes: win64
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
trap sample_server_cleanup EXIT
echo "== install the distribution folder"
install_sample_server "$FERNWICK_WINE_WORK/redact"

# A keyword file beside Fernwick.exe: the gateway's name is one of the site's own.
printf '; Names only this site knows.\r\nKestrel\r\n' >"$install/RedactionKeywords.txt"

echo "== silent redact: the cabinet and the map beside it, not in it"
rc=0
timeout 300 wine "$fernwick" silent redact || rc=$?
[ -f "$output/VoxtraInfo.cab" ] && cp "$output/VoxtraInfo.cab" "$artifacts/redacted.cab"
[ "$rc" -eq 0 ] || fail "the silent redacted run ended with $rc"
[ "$(ls -A "$output" | sort | tr '\n' ' ')" = "FernwickMessages.txt RedactionMap.txt VoxtraInfo.cab VoxtraInfo.cab.sha256 " ] ||
  fail "the work folder holds: $(ls -A "$output" | tr '\n' ' ')"
cabextract -q -l "$output/VoxtraInfo.cab" >"$work/listing.txt" || fail "cabextract cannot list the cabinet"
grep -qi RedactionMap "$work/listing.txt" && fail "the map is packed"
mkdir -p "$work/cab/ServerImage"
cabextract -q -d "$work/cab" "$output/VoxtraInfo.cab" || fail "cabextract cannot extract the cabinet"
cabextract -q -d "$work/cab/ServerImage" "$work/cab/ServerImage.cab" || fail "cabextract cannot extract ServerImage.cab"
rm "$work/cab/ServerImage.cab"
cp "$output/RedactionMap.txt" "$artifacts/RedactionMap.txt"
for f in FernwickMessages.txt Summary.htm; do
  grep -q 'VoxtraInfo.cab is redacted: ' "$work/cab/$f" || fail "$f does not say the cabinet is redacted"
  grep -q "Checked before packing: none of the map's" "$work/cab/$f" || fail "$f does not say the check passed"
done

echo "== no name is left, in any case or encoding"
# The machine as Wine shows it to the program (its name, its domain, which
# is its name where there is none, the addresses, gateway and MAC addresses
# of its network adapters), and the sample's names that the prefix's
# registry and database hold. The logged-on user is not gathered.
win_env() { wine cmd /c echo "%$1%" | tr -d '\r\n'; }
{
  printf '; The names the redacted cabinet of the Wine run must not hold, and what it must keep.\n'
  # The host name ipconfig shows may be longer than the computer name's 15 characters.
  for name in "$(win_env COMPUTERNAME)" "$(win_env USERDOMAIN)" "$(cat /proc/sys/kernel/hostname)"; do
    # "localhost" is loopback's name, which the redaction keeps by design.
    [ -n "$name" ] && [[ "$name" != %* ]] && [ "${name,,}" != localhost ] && printf 'gone\t%s\n' "$name"
  done
  python3 - <<'PY'
import fcntl, os, socket, struct
probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
for name in sorted(os.listdir("/sys/class/net")):
    if name == "lo":
        continue
    mac = open("/sys/class/net/%s/address" % name).read().strip()
    if mac.strip("0:"):
        print("gone\t" + mac.replace(":", "-"))
    try:  # SIOCGIFADDR
        print("gone\t" + socket.inet_ntoa(fcntl.ioctl(probe.fileno(), 0x8915, struct.pack("256s", name[:15].encode()))[20:24]))
    except OSError:
        pass
for line in open("/proc/net/if_inet6"):
    address, _, _, _, _, name = line.split()
    if name != "lo":
        print("gone\t" + socket.inet_ntop(socket.AF_INET6, bytes.fromhex(address)))
for line in open("/proc/net/route").readlines()[1:]:
    fields = line.split()
    if fields[1] == "00000000" and fields[2] != "00000000":
        print("gone\t" + socket.inet_ntoa(struct.pack("<I", int(fields[2], 16))))
PY
  printf 'gone\t%s\n' VOXTRA01 VOXTRA02 EXCH01 10.20.1.12 DC01 DC05 corp.example.com sales.corp.example.com \
    DC01.corp.example.com Kestrel
  printf 'kept\t%s\n' Voxtra 2.0.4 4.2.1.12 '4.2(1.0)' 'Harbor IP Switch'
} | awk -F '\t' '!seen[tolower($2)]++' >"$work/names.txt"
cp "$work/names.txt" "$artifacts/redact_names.txt"
python3 "$FERNWICK_SOURCE_DIR/tests/redaction/check_names.py" "$work/names.txt" "$work/cab" >"$work/names.out" ||
  fail "names left in the redacted cabinet: $(cat "$work/names.out")"
# They were there to replace: the map has the machine's name, the sample's servers and the keyword.
for name in "$(win_env COMPUTERNAME)" EXCH01 VOXTRA02 10.20.1.12 DC01.corp.example.com Kestrel; do
  cut -f 2 "$output/RedactionMap.txt" | grep -qixF "$name" || fail "the map does not hold $name"
done

echo "== the redacted cabinet replays natively to its report and findings"
native="${FERNWICK_NATIVE_BUILD:-$FERNWICK_SOURCE_DIR/build/native}/fernwick"
[ -x "$native" ] || fail "no native fernwick at $native (scripts/build.sh native)"
"$native" --out "$work/replay" --from-cab "$output/VoxtraInfo.cab" >"$work/replayed.txt" 2>"$work/replay.err" ||
  fail "the replay failed: $(cat "$work/replay.err")"
{ cat "$work/replayed.txt"; printf '\r\n'; } >"$work/replayed.expected"
expect_same_file "the replayed report and the packed, redacted one" "$work/cab/VoxtraSystemInfo.txt" \
  "$work/replayed.expected"
# (Its exit code tells the worst finding's severity.)
"$native" --out "$work/replay_findings" --findings --findings-csv "$work/replayed.csv" \
  --from-cab "$output/VoxtraInfo.cab" >/dev/null 2>"$work/findings.err" || true
[ -s "$work/replayed.csv" ] || fail "the replay wrote no findings: $(cat "$work/findings.err")"
ids() { tail -n +2 "$1" | cut -d, -f1,2 | sort; }
diff <(ids "$work/replayed.csv") <(ids "$work/cab/Findings.csv") >"$work/ids.diff" ||
  fail "the replayed findings differ: $(head -10 "$work/ids.diff")"
echo "ok"
