#!/usr/bin/env bash
# A silent run of Fernwick.exe against the sample server changes nothing
# outside its work folder: HKEY_LOCAL_MACHINE exported before and after, the
# configuration database file and every file of drives C: and D: outside the
# work folder hashed before and after, must be equal. It ends with 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sample_server.sh"
trap sample_server_cleanup EXIT
install_sample_server "$FERNWICK_WINE_WORK/read_only"

# Wine registers its script host's type libraries in HKLM on the first
# script it runs; that is Wine's doing, so it happens before the first export.
printf 'WScript.Echo "ready"\r\n' >"$work/ready.vbs"
wine cscript //nologo "$(winepath -w "$work/ready.vbs")" >"$work/ready.txt" 2>&1 || fail "cscript did not run"

snapshot() {  # NAME
  wine regedit /E "$(winepath -w "$work/$1.reg")" HKEY_LOCAL_MACHINE || fail "regedit could not export HKLM"
  {
    md5sum "$work/database/VoxtraDb"
    (cd "$drive_c" && find . -path './Program Files/Voxtra/SystemInfo' -prune -o -type f -print0 | sort -z |
      xargs -0 md5sum)
    (cd "$work/drive_d" && find . -type f -print0 | sort -z | xargs -0 md5sum)
  } >"$work/$1.files"
}
snapshot before
rc=0
timeout 300 wine "$fernwick" silent || rc=$?
[ "$rc" -eq 0 ] || fail "the silent run ended with $rc"
[ -f "$output/VoxtraInfo.cab" ] || fail "no cabinet"
snapshot after
cmp -s "$work/before.reg" "$work/after.reg" ||
  fail "HKLM changed: $(diff <(iconv -f UTF-16LE -t UTF-8 "$work/before.reg") <(iconv -f UTF-16LE -t UTF-8 "$work/after.reg") | head -20)"
diff "$work/before.files" "$work/after.files" >&2 || fail "files outside the work folder changed"
echo "ok"
