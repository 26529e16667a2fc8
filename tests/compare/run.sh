#!/usr/bin/env bash
# `fernwick --compare` over pairs of CABs packaged from the sample
# exchange2003-42 and from copies of it changed one way each: each pair's
# output and exit code against tests/compare/expected/<case>.txt (standard
# output, then standard error after a line "--- stderr"). With --update the
# expected files are written instead. Usage: run.sh FERNWICK_BINARY [--update]
set -euo pipefail
fernwick=$(realpath "${1:?fernwick binary}")
update=${2:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
expected="$root/tests/compare/expected"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$out"
failed=0

# variant NAME: a copy of the sample, to change.
variant() { cp -r "$root/samples/exchange2003-42" "$out/$1"; }

# package NAME IMAGE [SWITCH...]: VoxtraInfo.cab of IMAGE as NAME.cab (the
# work folder below run-NAME, where a map of "redact" stays for the next run).
package() {
  local name=$1 image=$2 rc=0
  shift 2
  "$fernwick" --package --out "$out/run-$name" "$image" "$@" >/dev/null 2>"$out/$name.package.err" || rc=$?
  [ "$rc" -eq 0 ] || { echo "packaging $name: exit code $rc"; cat "$out/$name.package.err"; exit 1; }
  cp "$(find "$out/run-$name" -name VoxtraInfo.cab)" "$out/$name.cab"
}

# check CASE EXIT_CODE ARGS...: the comparison's output and exit code.
check() {
  local case=$1 want=$2 rc=0
  shift 2
  "$fernwick" --compare "$@" >"$out/$case.out" 2>"$out/$case.err" || rc=$?
  { cat "$out/$case.out"; echo "--- stderr"; cat "$out/$case.err"; } >"$out/$case.txt"
  if [ "$update" = --update ]; then
    cp "$out/$case.txt" "$expected/$case.txt"
  elif ! diff -u "$expected/$case.txt" "$out/$case.txt"; then
    echo "$case: output differs"
    failed=1
  fi
  [ "$rc" -eq "$want" ] || { echo "$case: exit code $rc, not $want"; failed=1; }
  echo "$case: checked"
}

package base "$root/samples/exchange2003-42"

# RSS switched off two days later: a registry value changed, a finding resolved.
variant rss
sed -i 's/"EnableRSS"=dword:00000001/"EnableRSS"=dword:00000000/' rss/registry/environment.reg
sed -i 's/^Now=2026-12-07 10:15:42/Now=2026-12-09 11:20:42/' rss/image.ini
package rss "$out/rss"

# The messaging service stopped and set to manual start.
variant service
sed -i 's/^VoxtraMsg,Voxtra Messaging,Automatic,Running,/VoxtraMsg,Voxtra Messaging,Manual,Stopped,/' service/services.csv
package service "$out/service"

# A prompt more in the prompt folder the gathering lists: a file added.
variant prompt
printf 'RIFF' >"prompt/drives/C/Program Files/Voxtra/Localize/Prompts/ENU/Welcome.wav"
package prompt "$out/prompt"

# The same CAB twice: exit code 0 and the verdict line alone.
check same 0 base.cab base.cab
check rss_resolved 1 base.cab rss.cab
check rss_back 1 rss.cab base.cab
check service_stopped 1 base.cab service.cab
check file_added 1 base.cab prompt.cab
check all_lines 1 --all base.cab rss.cab
check image_folders 1 "$root/samples/exchange2003-42" rss

# A CAB as an older Fernwick packed it, cut after the install section: no
# server image, the findings of Findings.csv: those past the cut are lost
# visibility, never resolved.
mkdir cut
( cd cut && cabextract -q ../base.cab )
awk '{ print } /^Environment Information:/ { exit }' cut/VoxtraSystemInfo.txt | head -n -1 >cut/report.txt
mv cut/report.txt cut/VoxtraSystemInfo.txt
head -n 2 cut/Findings.csv >cut/findings.txt
mv cut/findings.txt cut/Findings.csv
rm cut/ServerImage.cab
( cd cut && gcab -c -z ../cut.cab VoxtraSystemInfo.txt Findings.csv ServiceInfo.csv )
check lost_visibility 1 base.cab cut.cab
check old_cab_without_image 1 cut.cab base.cab

# Two packages of one site redacted with one map compare as one server.
package redacted_base "$root/samples/exchange2003-42" redact
cp "$(find "$out/run-redacted_base" -name RedactionMap.txt)" "$out/map.txt"
"$fernwick" --redact --map "$out/map.txt" rss.cab redacted_rss.cab 2>/dev/null
check redacted_pair 1 redacted_base.cab redacted_rss.cab
# A redacted package against one that is not: two names, one System ID.
check redacted_and_plain 2 redacted_base.cab rss.cab

# Two different servers: refused, unless --different-servers.
package other "$root/samples/exchange2007-50"
check different_servers 2 base.cab other.cab
rc=0
"$fernwick" --compare --different-servers base.cab other.cab >"$out/different.txt" 2>&1 || rc=$?
[ "$rc" -eq 1 ] || { echo "--different-servers: exit code $rc, not 1"; failed=1; }
head -n 1 "$out/different.txt" | grep -q '^Different servers' || { echo "--different-servers: no first line"; failed=1; }

# --html: the same as one page, valid HTML 4.01 in UTF-8 (tidy: 2 means errors).
rc=0
"$fernwick" --compare base.cab rss.cab --html page.htm >/dev/null || rc=$?
[ "$rc" -eq 1 ] || { echo "--html: exit code $rc, not 1"; failed=1; }
rc=0
tidy -e -q -utf8 page.htm 2>"$out/tidy.txt" || rc=$?
[ "$rc" -lt 2 ] || { echo "--html: the page is not valid"; cat "$out/tidy.txt"; failed=1; }
grep -q 'EnableRSS' page.htm || { echo "--html: no registry value"; failed=1; }

# Bad input: one line, exit code 2.
printf 'MSCF and nothing more' >forged.cab
check forged_cab 2 base.cab forged.cab
mkdir notes && printf 'a note\r\n' >notes/note.txt
( cd notes && gcab -c ../notes.cab note.txt )
check not_a_package 2 base.cab notes.cab
# An image that is no capture could run a database script of its own.
mkdir uncaptured && cp -r "$root/samples/exchange2003-42" uncaptured/image
( cd uncaptured/image && find . -type f -printf '%P\0' | xargs -0 gcab -c ../ServerImage.cab )
( cd uncaptured && gcab -c ../uncaptured.cab ServerImage.cab )
check uncaptured_image 2 base.cab uncaptured.cab
check missing_input 2 base.cab nowhere.cab
check one_input 2 base.cab

exit $failed
