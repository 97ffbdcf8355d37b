#!/usr/bin/env bash
# Times `orlin-cli find --all` on a page-cached 1 GiB file with 1,048,576 hits against an
# absent-pattern search of the same file (limit 1.3x) and against
# `LC_ALL=C grep -obUaF` printing the same offsets (limit 0.5x), and checks that the two
# lists agree (grep's offsets are decimal, ours hexadecimal). The file is the random one of
# the other search benchmarks with an 8-byte marker written at 100 + k * 1024: every byte
# 0x01 of it begins a marker, so the marker occurs exactly there.
# Exits 1 when a ratio is over its limit or the lists differ.
#
# Usage: bench/search/find-all.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  native optimised build with orlin-cli (default build/native)
#   WORK_DIR   where the files are made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS     runs per command; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

native_bench_args "$@"

random="$(orx_random_gib_file "$work")"
file="$work/random-1GiB-marked.bin"
marker="01 4D 41 52 4B 45 52 21"
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne 1073741824 ]; then
  echo "making $file" >&2
  python3 - "$random" "$file" "$marker" <<'PY'
import os, sys
source, target, marker = sys.argv[1], sys.argv[2], bytes.fromhex(sys.argv[3])
with open(source, "rb") as inp, open(target + ".tmp", "wb") as out:
    while chunk := bytearray(inp.read(1 << 20)):
        for at in range(100, len(chunk) - len(marker) + 1, 1024):
            chunk[at:at + len(marker)] = marker
        out.write(chunk)
os.rename(target + ".tmp", target)
PY
fi
cat "$file" >/dev/null # into the page cache
bytes="$(printf "$(sed 's/\([0-9A-F][0-9A-F]\) */\\x\1/g' <<<"$marker")")"
absent="01 C3 A9 7E 11 22 33 44 55 66 77 88 99 AA BB CC"

# The lists first: the same offsets, and about a million of them.
ours="$work/find-all-ours.txt" theirs="$work/find-all-grep.txt"
"$cli" find "$file" --hex "$marker" --all >"$ours"
LC_ALL=C grep -obUaF -e "$bytes" "$file" >"$theirs" || true
hits="$(python3 - "$ours" "$theirs" <<'PY'
import sys
ours = [int(line, 16) for line in open(sys.argv[1], "rb")]
theirs = [int(line.split(b":", 1)[0]) for line in open(sys.argv[2], "rb")]
print(len(ours) if ours == theirs else -1)
PY
)"
rm -f "$ours" "$theirs"

# Both print into a pipe: grep stops at the first match when its output is /dev/null.
piped() { "$@" | cat >/dev/null; }
a=() n=() g=()
for ((i = 0; i < rounds; i++)); do
  a+=("$(seconds piped "$cli" find "$file" --hex "$marker" --all)")
  n+=("$(seconds "$cli" find "$file" --hex "$absent")")
  g+=("$(seconds piped env LC_ALL=C grep -obUaF -e "$bytes" "$file")")
done
am="$(min "${a[@]}")" nm="$(min "${n[@]}")" gm="$(min "${g[@]}")"
echo "file: $file (1 GiB, page-cached), best of $rounds runs"
echo "  find --all, $hits hits         $am s"
echo "  find, absent 16-byte pattern   $nm s"
echo "  grep -obUaF, the same hits     $gm s"
if [ "$hits" -lt 0 ]; then
  echo "  the offsets differ from grep's: OVER"
  status=1
fi
check "find --all / absent-pattern find" "$(ratio "$am" "$nm")" 1.3
check "find --all / grep -obUaF" "$(ratio "$am" "$gm")" 0.5
exit "$status"
