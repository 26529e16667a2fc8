#!/usr/bin/env bash
# A silent run of Fernwick.exe against the sample server changes nothing
# outside its work folder: HKEY_LOCAL_MACHINE exported before and after, the
# configuration database file and every file of drives C: and D: outside the
# work folder hashed before and after, must be equal. It ends with 0. Wine
# claims Windows Server 2008 here, and the report says so.
# wine prefixes: win64=win2008
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
trap sample_server_cleanup EXIT
install_sample_server "$FERNWICK_WINE_WORK/read_only"

# Wine writes to HKLM on first use of its own: the script host's type
# libraries on the first script, the display driver's keys when the first
# program asks for the desktop, the drive links (this test's D: or an
# earlier test's) when its device services start. That happens before the
# first snapshot: the services start anew, and see this test's drives.
wineserver -k
wineserver -w
wineserver -p
printf 'WScript.Echo "ready"\r\n' >"$work/ready.vbs"
wine cscript //nologo "$(winepath -w "$work/ready.vbs")" >"$work/ready.txt" 2>&1 || fail "cscript did not run"
timeout 60 wine "$FERNWICK_WIN_BUILD/guidriver.exe" gone || fail "no desktop"

# Hashes every file below the folders given, but for two folders. The
# names go through no command line: a leftover-program check that reads
# command lines would take a hashing tool for a program it must stop.
hash_files() {  # FOLDER...
  python3 - "$@" <<'PY'
import hashlib, os, pwd, sys
# The work folder; and the user's WinINet cache, which the system's HTTP
# client creates on the first request any program makes (the licence page).
skip = {os.path.normpath(os.path.join(sys.argv[1], *p)) for p in (
    ("Program Files", "Voxtra", "SystemInfo"), ("users", pwd.getpwuid(os.getuid()).pw_name, "AppData", "Local", "Microsoft",
                                                "Windows", "INetCookies"))}
lines = []
for top in sys.argv[1:]:
    for folder, subfolders, files in os.walk(top):
        subfolders[:] = [d for d in subfolders if os.path.normpath(os.path.join(folder, d)) not in skip]
        for name in files:
            path = os.path.join(folder, name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    lines.append(hashlib.md5(f.read()).hexdigest() + " " + os.path.relpath(path, top))
print("\n".join(sorted(lines)))
PY
}
# HKLM as text, both registry views where there are two, without the keys
# Wine's device services and desktop rewrite each time they start (display
# adapters, device interface links, the service counter), whatever the
# program does.
export_hklm() {  # FILE
  wine_export_reg HKEY_LOCAL_MACHINE "$1.export" || fail "could not export HKLM"
  python3 - "$1.export" >"$1" <<'PY'
import sys
volatile = tuple("[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\" + k
                 for k in ("Video]", "Video\\", "DeviceClasses\\", "ServiceCurrent]",
                           "Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\"))
keep = True
for line in open(sys.argv[1], encoding="utf-16").read().splitlines():
    if line.startswith("["):
        keep = not line.startswith(volatile)
    if keep:
        print(line)
PY
}
snapshot() {  # NAME
  export_hklm "$work/$1.reg"
  { md5sum <"$work/database/VoxtraDb"; hash_files "$drive_c" "$work/drive_d"; } >"$work/$1.files"
}
snapshot before
rc=0
timeout 300 wine "$fernwick" silent || rc=$?
[ "$rc" -eq 0 ] || fail "the silent run ended with $rc"
[ -f "$output/VoxtraInfo.cab" ] || fail "no cabinet"
cabextract -q -p -F VoxtraSystemInfo.txt "$output/VoxtraInfo.cab" >"$work/report.txt" || fail "the cabinet has no report"
grep -q "^     Windows version = $(windows_version_number) " "$work/report.txt" ||
  fail "Wine claims $FERNWICK_WINDOWS_VERSION, the report says: $(grep -a 'Windows version' "$work/report.txt")"
snapshot after
cmp -s "$work/before.reg" "$work/after.reg" || fail "HKLM changed: $(diff "$work/before.reg" "$work/after.reg" | head -20)"
diff "$work/before.files" "$work/after.files" >&2 || fail "files outside the work folder changed"
echo "ok"
