#!/usr/bin/env bash
# Cabinet figures: size and build time of the package of the largest sample
# image, and cabmaker's compression against gcab's MSZIP ("gcab -c -z") on
# the same files, for the native cabmaker (libgcab), and for cabmaker.exe
# (cabinet.dll's FCI, under Wine) of the shipping build (build/win32, under
# wine32), or else of build/win64, where one exists. A second file
# set stands for a busy server: the same package with five days of event
# logs (100000 records per log, generated the same way every run).
# Usage: bench/cab_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
now() { date +%s.%N; }
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }

echo "== packages of the samples (fernwick --package: gathering and packaging)"
largest="" largest_size=-1
for image in "$root"/samples/*/; do
  name=$(basename "$image")
  t0=$(now)
  "$build/native/fernwick" --package --out "$tmp/$name" "$image" >/dev/null 2>"$tmp/$name.err"
  t1=$(now)
  cab=$(find "$tmp/$name" -name VoxtraInfo.cab | head -1)
  size=$(stat -c %s "$cab")
  mkdir -p "$tmp/files/$name"
  cabextract -q -d "$tmp/files/$name" "$cab"
  input=$(cat "$tmp/files/$name"/* | wc -c)
  printf '%-20s %9d bytes in, cabinet %8d bytes, %5d ms\n' "$name" "$input" "$size" "$(ms "$t0" "$t1")"
  if [ "$input" -gt "$largest_size" ]; then largest=$name largest_size=$input; fi
done

busy="$tmp/files/busy-server"
cp -r "$tmp/files/$largest" "$busy"
for log in system application; do
  awk 'BEGIN {
    srand(7); split("Service Control Manager,Voxtra Messaging,MSSQLSERVER,Userenv,W32Time,Voxtra Telephony", s, ",")
    split("Information,Warning,Error", t, ",")
    for (i = 0; i < 100000; i++) {
      sec = 432000 * i / 100000; d = 2 + int(sec / 86400); h = int(sec % 86400 / 3600); m = int(sec % 3600 / 60)
      printf "12/%02d/2026,%02d:%02d:%02d,%s,%s,%d,Port %d state change %d after %d ms\r\n", d, h, m, int(sec % 60),
        t[1 + int(rand() * 3)], s[1 + int(rand() * 6)], 1000 + int(rand() * 40), int(rand() * 96), int(rand() * 8), int(rand() * 5000)
    }
  }' >"$busy/${log}_event_log.csv"
done

wine_ready=""
cabmaker_exe=""
if [ -x "$build/win32/cabmaker.exe" ] && [ -x /usr/lib/wine/wine ]; then
  cabmaker_exe="$build/win32/cabmaker.exe"
elif [ -x "$build/win64/cabmaker.exe" ]; then
  cabmaker_exe="$build/win64/cabmaker.exe"
fi
if [ -n "$cabmaker_exe" ] && command -v wine >/dev/null; then
  export WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  timeout 120 wine wineboot -i >/dev/null 2>&1 && wine_ready=yes
fi

echo "== cabinets of the same files (sizes in bytes, ratio = cabmaker / gcab -z)"
for set in "$largest" busy-server; do
  dir="$tmp/files/$set"
  files=(VoxtraSystemInfo.txt system_event_log.csv application_event_log.csv ServiceInfo.csv SwitchReport.html switchlog.txt)
  { printf '.Set CabinetNameTemplate=VoxtraInfo.cab\r\n.Set DiskDirectoryTemplate=.\r\n'; printf '"%s"\r\n' "${files[@]}"; } >"$dir/bench.ddf"
  input=$(cd "$dir" && cat "${files[@]}" | wc -c)
  (cd "$dir" && gcab -c -z "$tmp/gcab.cab" "${files[@]}")
  gcab_size=$(stat -c %s "$tmp/gcab.cab")
  t0=$(now)
  (cd "$dir" && "$build/native/cabmaker" /f bench.ddf)
  t1=$(now)
  native_size=$(stat -c %s "$dir/VoxtraInfo.cab")
  cabextract -q -t "$dir/VoxtraInfo.cab" >/dev/null
  printf '%-15s input %9d  gcab -z %8d  cabmaker (libgcab) %8d ratio %.4f %6d ms' "$set" "$input" "$gcab_size" \
    "$native_size" "$(awk -v a="$native_size" -v b="$gcab_size" 'BEGIN { print a / b }')" "$(ms "$t0" "$t1")"
  if [ -n "$wine_ready" ]; then
    rm -f "$dir/VoxtraInfo.cab"
    t0=$(now)
    (cd "$dir" && wine "$cabmaker_exe" /f bench.ddf >/dev/null 2>&1)
    t1=$(now)
    fci_size=$(stat -c %s "$dir/VoxtraInfo.cab")
    cabextract -q -t "$dir/VoxtraInfo.cab" >/dev/null
    printf '  cabmaker.exe (FCI, Wine) %8d ratio %.4f %6d ms' "$fci_size" \
      "$(awk -v a="$fci_size" -v b="$gcab_size" 'BEGIN { print a / b }')" "$(ms "$t0" "$t1")"
  fi
  echo
done
[ -n "$wine_ready" ] && wineserver -k >/dev/null 2>&1
exit 0
