#!/usr/bin/env bash
# Times `orlin-cli compare` against GNU cmp on page-cached 1 GiB files and checks that both
# find the same differences:
#   two identical files                          at most 1.0x cmp
#   10^6 scattered one-byte differences, listed  at most 0.1x cmp -l | wc -l
# and prints the peak memory of each run of orlin-cli, which stays flat with the file size
# and the number of differences, and the floor this machine sets: the time `cat` takes to
# read both files from the page cache. Exits 1 when a ratio is over its limit, 2 when the
# differences disagree.
#
# Usage: bench/compare/compare-cmp.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  native optimised build with orlin-cli (default build/native)
#   WORK_DIR   where the 1 GiB files are made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS     runs per command; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

native_bench_args "$@"

file="$(orx_random_gib_file "$work")"
same="$work/random-1GiB-copy.bin"
changed="$work/random-1GiB-1e6-changes.bin"
if [ ! -f "$same" ] || [ "$(stat -c %s "$same")" -ne 1073741824 ]; then
  cp "$file" "$same.tmp" && mv "$same.tmp" "$same"
fi
if [ ! -f "$changed" ] || [ "$(stat -c %s "$changed")" -ne 1073741824 ]; then
  echo "making $changed" >&2
  cp "$file" "$changed.tmp"
  python3 - "$changed.tmp" <<'PY'
import mmap, random, sys
random.seed(1)
with open(sys.argv[1], "r+b") as f, mmap.mmap(f.fileno(), 0) as m:
    for offset in random.sample(range(len(m)), 1000000):
        m[offset] ^= 0xFF
PY
  mv "$changed.tmp" "$changed"
fi
cat "$same" "$changed" >/dev/null # into the page cache

# The differences both ways, as "OFFSET LENGTH" runs with the offset in hexadecimal: cmp -l
# prints one 1-based decimal offset per differing byte, orlin-cli one line per run.
ours="$work/compare-ours.txt"
theirs="$work/compare-cmp.txt"
"$cli" compare "$file" "$changed" | awk '$1 ~ /^0x/ { print $1, $2 }' >"$ours" || true
cmp -l "$file" "$changed" | awk '
  { offset = $1 - 1
    if (length_ > 0 && offset == first + length_) { length_++; next }
    if (length_ > 0) printf "0x%X %d\n", first, length_
    first = offset; length_ = 1 }
  END { if (length_ > 0) printf "0x%X %d\n", first, length_ }' >"$theirs" || true
if ! cmp -s "$ours" "$theirs"; then
  echo "the differences disagree: see $ours and $theirs" >&2
  exit 2
fi
echo "same differences as cmp -l: $(wc -l <"$ours") runs"

# Seconds of the fastest of ROUNDS runs of a shell command line.
best() {
  local run real best_real=""
  for ((run = 0; run < rounds; run++)); do
    real="$({ TIMEFORMAT='%R'; time bash -c "$1" >/dev/null 2>&1; } 2>&1)"
    if [ -z "$best_real" ] || awk -v a="$real" -v b="$best_real" 'BEGIN { exit !(a < b) }'; then
      best_real=$real
    fi
  done
  echo "$best_real"
}
peak_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

echo "files: $file and copies (1 GiB, page-cached), best of $rounds runs, $(nproc) cores"
versus() { # label ours theirs limit: both times, then the verdict on their ratio
  echo "$1: $2 s vs $3 s"
  check "$1" "$(awk -v a="$2" -v b="$3" 'BEGIN { printf "%.3f", a / b }')" "$4"
}
versus "identical: orlin-cli compare / cmp" \
  "$(best "'$cli' compare '$file' '$same'")" "$(best "cmp '$file' '$same'")" 1.0
versus "10^6 changes: orlin-cli compare | wc -l / cmp -l | wc -l" \
  "$(best "'$cli' compare '$file' '$changed' | wc -l")" \
  "$(best "cmp -l '$file' '$changed' | wc -l")" 0.1
echo "counting pass: $(best "'$cli' compare --count '$file' '$changed'") s"
# What reading both files costs at all, the floor of any compare that reads them.
echo "floor, both files read by cat: $(best "cat '$file' '$changed'") s"

small="$work/compare-small.bin"
head -c 1048576 "$changed" >"$small"
head -c 1048576 "$file" >"$small.left"
echo "peak memory (KiB): 1 MiB pair $(peak_kib "$cli" compare "$small.left" "$small")," \
  "1 GiB identical $(peak_kib "$cli" compare "$file" "$same")," \
  "1 GiB with 10^6 changes $(peak_kib "$cli" compare "$file" "$changed")"
rm -f "$small" "$small.left"
exit $status
