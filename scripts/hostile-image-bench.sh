#!/usr/bin/env bash
# Times a `fernwick` command on server images built to hurt: the sample image
# plus a key nested 300,000 levels deep, a long REG_BINARY value in regedit's
# wrapped form, or a NUL byte in the database script (8-bit and UTF-16
# exports, several sizes). Each line gives the seconds, the exit code and the
# error it gave (the command's own, or the report's line on the script).
# Usage: scripts/hostile-image-bench.sh [FERNWICK] [SECONDS_LIMIT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fernwick=${1:-$root/build/native/fernwick}
limit=${2:-120}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_image() {  # NAME: a copy of the sample image in $work/NAME
  cp -r "$root/samples/exchange2003-42" "$work/$1"
}
write_reg() {  # FILE ENCODING(ansi|utf16) < text
  if [ "$2" = utf16 ]; then
    { printf '\xff\xfe'; iconv -f latin1 -t UTF-16LE; } >"$1"
  else
    cat >"$1"
  fi
}
deep_key() {  # LEVELS
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE'
  head -c $(($1 * 2)) < <(yes '\a' | tr -d '\n')
  printf ']\r\n'
}
long_binary() {  # BYTES: regedit's layout, 25 bytes on the first line, then 25 a line
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Big]\r\n"Blob"=hex:'
  head -c "$1" /dev/zero | od -An -v -tx1 | tr -s ' \n' ',,' | sed 's/^,//; s/,$//' |
    fold -w 75 | sed 's/$/\\/; $ s/\\$//' | sed '2,$ s/^/  /' | sed 's/$/\r/'
  printf '\n'
}
run() {  # LABEL IMAGE
  local start end code=0
  start=$(date +%s.%N)
  timeout "$limit" "$fernwick" --out "$work/out" "$work/$2" >"$work/report" 2>"$work/err" || code=$?
  end=$(date +%s.%N)
  # What went wrong: the command's error, or the report's line on the script.
  said=$( (grep -a -m1 -o 'cannot read the server image: .*' "$work/err" | sed 's|: /.*/|: |' ||
           grep -h -a -m1 -o 'cannot be loaded: [^\r]*' "$work/report" "$work/err") | head -n 1 | cut -c1-80) || true
  printf '%-34s %7.2f s  exit %3s  %s\n' "$1" "$(echo "$end - $start" | bc)" "$code" "$said"
}

for enc in ansi utf16; do
  for levels in 513 300000; do
    make_image "deep-$enc-$levels"
    deep_key "$levels" | write_reg "$work/deep-$enc-$levels/registry/zz_deep.reg" "$enc"
    run "deep key, $levels levels, $enc" "deep-$enc-$levels"
  done
  for kb in 512 2048; do
    make_image "bin-$enc-$kb"
    long_binary $((kb * 1024)) | write_reg "$work/bin-$enc-$kb/registry/zz_big.reg" "$enc"
    run "binary value, $kb KB, $enc" "bin-$enc-$kb"
  done
done
make_image nul-end
printf '\0' >>"$work/nul-end/database/VoxtraDb.sql"
run "script ending in NUL" nul-end
make_image nul-only
printf 'CREATE TABLE t(a);\0' >"$work/nul-only/database/VoxtraDb.sql"
run "script CREATE TABLE t(a); NUL" nul-only
make_image nul-middle
printf '\0CREATE TABLE t(a);\n' >>"$work/nul-middle/database/VoxtraDb.sql"
run "script with NUL then more" nul-middle
