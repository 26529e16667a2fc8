#!/usr/bin/env bash
# Times `fernwick --compare` (of the optimised build) and states its peak
# memory: two packages of the largest sample (domino-50-prompts), two
# packages of a generated healthy prompt tree of 60 languages x 2,000
# prompts against reading each once (`--from-cab`), and two CABs of 64 MB of
# event logs each. Usage: bench/compare_bench.sh [BUILD_DIR] (default
# build/release; scripts/build.sh release makes it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fernwick=$(realpath "${1:-$root/build/release}")/fernwick
[ -x "$fernwick" ] || { echo "no $fernwick: scripts/build.sh release"; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$out"

package() {  # NAME IMAGE: NAME.cab
  "$fernwick" --package --out "$out/run-$1" "$2" >/dev/null 2>&1 || true
  cp "$(find "$out/run-$1" -name VoxtraInfo.cab)" "$out/$1.cab"
}

# seconds and peak resident KB of a command, best of 3
measure() {
  local best="" kb=""
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$out/time.txt" "$@" >/dev/null 2>&1 || true
    read -r s k <"$out/time.txt"
    if [ -z "$best" ] || awk "BEGIN{exit !($s < $best)}"; then best=$s; kb=$k; fi
  done
  echo "$best $kb"
}

prompt_tree() {  # IMAGE COPY: the image with a generated healthy prompt tree
  cp -r "$1" "$2"
  python3 - "$2" <<'PY'
import os, shutil, sys
tree = next(os.path.join(d, "Prompts") for d, subs, _ in os.walk(os.path.join(sys.argv[1], "drives"))
            if "Prompts" in subs and os.path.basename(d) == "Localize")
shutil.rmtree(tree)
prompts = 2000
for language in range(60):
    name = chr(65 + language // 26 % 26) + chr(65 + language % 26) + "X"
    for part, sub in enumerate(["", "Conversation", "Conversation/Phrases", "System"]):
        folder = os.path.join(tree, name, sub)
        os.makedirs(folder, exist_ok=True)
        count = prompts - 3 * (prompts // 4) if part == 3 else prompts // 4
        index = "; prompts of the bench tree\r\n"
        for i in range(count):
            prompt = "Prompt_%d_%d" % (part, i)
            index += "[%s]\r\nDescription=prompt %d\r\n" % (prompt, i)
            open(os.path.join(folder, prompt + ".wav"), "wb").close()
        open(os.path.join(folder, "Prompt.ini"), "wb").write(index.encode())
PY
}

sample="$root/samples/domino-50-prompts"
package a "$sample"
cp -r "$sample" b
sed -i 's/^Now=.*/Now=2026-12-09 08:00:00/' b/image.ini
package b "$out/b"
read -r s kb < <(measure "$fernwick" --compare a.cab b.cab)
echo "largest sample, two CABs: $s s, peak $((kb / 1024)) MB"

prompt_tree "$sample" tree_a
prompt_tree "$sample" tree_b
sed -i 's/^Now=.*/Now=2026-12-09 08:00:00/' tree_b/image.ini
package ta "$out/tree_a"
package tb "$out/tree_b"
read -r once_a _ < <(measure "$fernwick" --out "$out/replay" --from-cab ta.cab)
read -r once_b _ < <(measure "$fernwick" --out "$out/replay" --from-cab tb.cab)
read -r s kb < <(measure "$fernwick" --compare ta.cab tb.cab)
echo "60 x 2,000 prompt tree, two CABs ($(stat -c %s ta.cab) bytes each): $s s, peak $((kb / 1024)) MB;" \
  "reading each once: $once_a s + $once_b s; ratio $(awk "BEGIN{printf \"%.2f\", $s / ($once_a + $once_b)}")"

# Two CABs of 64 MB of event logs each (the report of the sample beside them).
mkdir big && (cd big && cabextract -q ../a.cab)
python3 - big <<'PY'
import sys, os
line = '12/05/2026,03:12:44,Error,Service Control Manager,7000,"The Voxtra Messaging service failed to start, %d"\r\n'
for log in ("system", "application"):
    with open(os.path.join(sys.argv[1], log + "_event_log.csv"), "w") as f:
        n, size = 0, 0
        while size < 32 << 20:
            text = line % n
            f.write(text)
            size += len(text)
            n += 1
PY
(cd big && gcab -c -z ../big_a.cab *)
cp big_a.cab big_b.cab
read -r s kb < <(measure "$fernwick" --compare big_a.cab big_b.cab)
echo "two CABs of 64 MB of event logs ($(stat -c %s big_a.cab) bytes packed): $s s, peak $((kb / 1024)) MB"
