#!/usr/bin/env bash
# Times `fernwick --fleet` (of the optimised build) over folders of N CABs
# made from the samples (each sample packaged once, then copied with its
# server name, System ID and, for every seventh copy, a setting changed in
# both its packed report and its server image) and states wall time, CABs
# per second and peak memory (the largest of the fleet process and any of
# its CAB readers). Memory must not grow with N.
# Usage: bench/fleet_bench.sh [BUILD_DIR] [N...] (default build/release, 100 1000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fernwick=$(realpath "${1:-$root/build/release}")/fernwick
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100 1000)
[ -x "$fernwick" ] || { echo "no $fernwick: scripts/build.sh release"; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$out"

# Each sample packaged once and unpacked, its server image too.
samples=()
for sample in "$root"/samples/*/; do
  name=$(basename "$sample")
  "$fernwick" --package --out "$out/run-$name" "$sample" >/dev/null 2>&1 || true
  cab=$(find "$out/run-$name" -name VoxtraInfo.cab)
  [ -n "$cab" ] || continue
  mkdir -p "base/$name/image"
  ( cd "base/$name" && cabextract -q "$cab" && cd image && cabextract -q ../ServerImage.cab && rm ../ServerImage.cab )
  rm -rf "$out/run-$name"
  samples+=("$name")
done

# make_fleet N: folder fleet-N with N CABs.
make_fleet() {
  local n=$1 i sample server copy
  mkdir -p "fleet-$n"
  for ((i = 0; i < n; i++)); do
    sample=${samples[$((i % ${#samples[@]}))]}
    copy="$out/work"
    rm -rf "$copy" && cp -r "base/$sample" "$copy"
    server=$(grep -a -m1 'Voxtra server name = ' "$copy/VoxtraSystemInfo.txt" | sed 's/.*= *//; s/\r//')
    suffix=$(printf '%04d' "$i")
    # The name and the last digits of the System ID, in every text file.
    grep -rlaI -e "$server" -e '[0-9A-F]\{12\}}' "$copy" | while read -r f; do
      sed -i -e "s/$server/${server}-$suffix/g" -e "s/[0-9A-F]\{4\}}/$suffix}/g" "$f"
    done || true
    if ((i % 7 == 3)); then
      grep -rlaI 'EnableRSS' "$copy" | xargs -r sed -i 's/"EnableRSS"=dword:00000000/"EnableRSS"=dword:00000001/' || true
    fi
    ( cd "$copy/image" && find . -type f -printf '%P\0' | xargs -0 gcab -c -z ../ServerImage.cab )
    rm -rf "$copy/image"
    ( cd "$copy" && find . -type f -printf '%P\0' | xargs -0 gcab -c -z "$out/fleet-$n/$sample-$suffix.cab" )
  done
}

printf '%-6s %10s %10s %14s\n' CABs "wall (s)" "CABs/s" "peak memory"
for n in "${counts[@]}"; do
  make_fleet "$n"
  /usr/bin/time -f "%e %M" -o time.txt "$fernwick" --fleet "fleet-$n" --csv "fleet-$n.csv" --html "fleet-$n.htm" \
    >/dev/null 2>"fleet-$n.err" || true
  read -r seconds kb <time.txt
  rows=$(($(wc -l <"fleet-$n.csv") - 1))
  printf '%-6s %10s %10.1f %11d MB   (%s rows; %s)\n' "$n" "$seconds" "$(awk "BEGIN{print $n / $seconds}")" \
    $((kb / 1024)) "$rows" "$(tail -n 1 "fleet-$n.err")"
  rm -rf "fleet-$n"
done
