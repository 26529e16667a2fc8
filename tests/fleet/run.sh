#!/usr/bin/env bash
# `fernwick --fleet` over a folder of CABs: every sample packaged, an older
# CAB of one server (left out unless --all), a CAB packaged with
# "nocapture" (its packed findings stand in), and a corrupt, a hostile and a
# foreign file, each named and skipped. The table against
# tests/fleet/expected/fleet.csv, standard error against stderr.txt, the
# page valid HTML 4.01. With --update the expected files are written
# instead. Usage: run.sh FERNWICK_BINARY [--update]
set -euo pipefail
fernwick=$(realpath "${1:?fernwick binary}")
update=${2:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
expected="$root/tests/fleet/expected"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$out"
failed=0
mkdir -p cabs/site-a cabs/site-b

# package NAME IMAGE [SWITCH...]: VoxtraInfo.cab of IMAGE as cabs/NAME.cab.
package() {
  local name=$1 image=$2 rc=0
  shift 2
  "$fernwick" --package --out "$out/run-$(basename "$name")" "$image" "$@" >/dev/null 2>"$out/package.err" || rc=$?
  # 6: a sample whose capture batch files write nothing (a lost part).
  [ "$rc" -eq 0 ] || [ "$rc" -eq 6 ] || { echo "packaging $name: exit code $rc"; cat "$out/package.err"; exit 1; }
  cp "$(find "$out/run-$(basename "$name")" -name VoxtraInfo.cab)" "cabs/$name.cab"
  rm -rf "$out/run-$(basename "$name")"
}

for sample in "$root"/samples/*/; do
  package "site-a/$(basename "$sample")" "$sample"
done
# The same server a month earlier, with RSS on: the later CAB stands for it.
cp -r "$root/samples/exchange2003-42" earlier
sed -i 's/^Now=2026-12-07 10:15:42/Now=2026-11-07 10:15:42/' earlier/image.ini
sed -i 's/"EnableRSS"=dword:00000000/"EnableRSS"=dword:00000001/' earlier/registry/environment.reg
package site-b/earlier "$out/earlier"
# Without a server image: its packed findings and report stand in (a server
# of its own: another System ID).
cp -r "$root/samples/exchange2007-50" plain
sed -i 's/9F3B6C12-4E7A-4D08-B1C5-7A2E90D4F853/9F3B6C12-4E7A-4D08-B1C5-7A2E90D4F899/' plain/database/VoxtraDb.sql
package site-b/nocapture "$out/plain" nocapture
# Corrupt: a CAB cut short.
head -c 3000 cabs/site-a/exchange2003-42.cab >cabs/site-b/corrupt.cab
# Hostile: a server image that is no capture could run a database script of its own.
mkdir hostile && cp -r "$root/samples/exchange2003-42" hostile/image
( cd hostile/image && find . -type f -printf '%P\0' | xargs -0 gcab -c ../ServerImage.cab )
( cd hostile && gcab -c ../cabs/site-b/hostile.cab ServerImage.cab )
# Foreign: a CAB of something else.
mkdir notes && printf 'a note\r\n' >notes/note.txt
( cd notes && gcab -c ../cabs/site-b/notes.cab note.txt )

rc=0
"$fernwick" --fleet cabs --as-of 2026-12-31 --jobs 2 --csv fleet.csv --html fleet.htm 2>stderr.raw || rc=$?
# How far the cut CAB got depends on how its packing compressed.
sed -E 's/Expected [0-9]+ bytes, got [0-9]+/Expected N bytes, got N/' stderr.raw >stderr.txt
[ "$rc" -eq 1 ] || { echo "fleet: exit code $rc, not 1"; cat stderr.raw; failed=1; }
if [ "$update" = --update ]; then
  cp fleet.csv stderr.txt "$expected/"
else
  for file in fleet.csv stderr.txt; do
    diff -u "$expected/$file" "$file" || { echo "fleet: $file differs"; failed=1; }
  done
fi
rc=0
tidy -e -q -utf8 fleet.htm 2>tidy.txt || rc=$?
[ "$rc" -lt 2 ] || { echo "fleet: the page is not valid"; cat tidy.txt; failed=1; }
for text in 'corrupt.cab' 'hostile.cab' 'notes.cab' 'RSS-ENABLED' 'Servers that differ'; do
  grep -q "$text" fleet.htm || { echo "fleet: the page lacks $text"; failed=1; }
done
! grep -qi '<script' fleet.htm || { echo "fleet: the page has a script"; failed=1; }

# --all keeps the earlier CAB: one server's rows more.
"$fernwick" --fleet cabs --all --as-of 2026-12-31 --csv all.csv 2>/dev/null || true
grep -q 'site-b/earlier.cab' all.csv || { echo "fleet --all: the earlier CAB is missing"; failed=1; }
! grep -q 'site-b/earlier.cab' fleet.csv || { echo "fleet: the earlier CAB stands for its server"; failed=1; }
echo "fleet: checked"
exit $failed
