#!/usr/bin/env bash
# Times `orlin-cli hash` against the system's sha256sum and md5sum on the same page-cached
# 1 GiB file of random bytes (the one bench/search/compare-grep.sh makes), checks that the
# values agree, and prints the ratios against their limits:
#   orlin-cli hash --algorithm sha256   at most 1.1x sha256sum
#   orlin-cli hash --algorithm md5      at most 1.1x md5sum
#   orlin-cli hash --algorithm crc32    at most 1.0x orlin-cli hash --algorithm md5
#   orlin-cli hash (all six, one pass)  at most 1.2x the slowest algorithm alone
# For the last it also prints the floor this machine sets: all six digests together cost the
# sum of their processor times, spread over the cores, so one pass cannot take less than
# that sum divided by the number of cores. Exits 1 when a ratio is over its limit.
#
# Usage: bench/checksum/compare-sums.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  native optimised build with orlin-cli (default build/native)
#   WORK_DIR   where the 1 GiB file is made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS     runs per command; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

native_bench_args "$@"

file="$(orx_random_gib_file "$work")"

# The values first: each tool's answer for the file.
expect_same() { # name ours theirs
  if [ "$2" != "$3" ]; then
    echo "$1: orlin-cli says $2, the reference says $3" >&2
    exit 2
  fi
}
expect_same sha256 "$("$cli" hash "$file" --algorithm sha256)" "$(sha256sum "$file")"
expect_same md5 "$("$cli" hash "$file" --algorithm md5)" "$(md5sum "$file")"
expect_same crc32 "$("$cli" hash "$file" --algorithm crc32 | cut -d' ' -f1)" \
  "$(python3 -c 'import sys, zlib
crc = 0
with open(sys.argv[1], "rb") as f:
    for block in iter(lambda: f.read(1 << 20), b""):
        crc = zlib.crc32(block, crc)
print("%08x" % crc)' "$file")"

# "REAL CPU" seconds of the fastest of ROUNDS runs (CPU: user + system of that run).
best() {
  local run real cpu best_real="" best_cpu=""
  for ((run = 0; run < rounds; run++)); do
    read -r real cpu < <({ TIMEFORMAT='%R %U %S'; time "$@" >/dev/null; } 2>&1 |
      awk '{ printf "%s %.3f\n", $1, $2 + $3 }')
    if [ -z "$best_real" ] || awk -v a="$real" -v b="$best_real" 'BEGIN { exit !(a < b) }'; then
      best_real=$real best_cpu=$cpu
    fi
  done
  echo "$best_real $best_cpu"
}

echo "file: $file (1 GiB, page-cached), best of $rounds runs, $(nproc) cores"
echo "command: $cli hash FILE [--algorithm NAME]"
printf '%-28s %8s %8s\n' "" "real s" "cpu s"
declare -A real cpu
show() { # key label command...
  local key="$1" label="$2"
  shift 2
  read -r "real[$key]" "cpu[$key]" < <(best "$@")
  printf '%-28s %8s %8s\n' "$label" "${real[$key]}" "${cpu[$key]}"
}
show sha256sum "sha256sum" sha256sum "$file"
show md5sum "md5sum" md5sum "$file"
for algorithm in crc32 adler32 md5 sha1 sha256 sha512; do
  show "$algorithm" "orlin-cli --algorithm $algorithm" "$cli" hash "$file" --algorithm "$algorithm"
done
show all "orlin-cli (all six)" "$cli" hash "$file"

slowest=crc32
cpu_sum=0
for algorithm in adler32 md5 sha1 sha256 sha512; do
  if awk -v a="${real[$algorithm]}" -v b="${real[$slowest]}" 'BEGIN { exit !(a > b) }'; then
    slowest=$algorithm
  fi
done
cpu_sum="$(for algorithm in crc32 adler32 md5 sha1 sha256 sha512; do echo "${cpu[$algorithm]}"; done |
  awk '{ s += $1 } END { printf "%.3f", s }')"

echo "ratios:"
check "sha256 / sha256sum" "$(ratio "${real[sha256]}" "${real[sha256sum]}")" 1.1
check "md5 / md5sum" "$(ratio "${real[md5]}" "${real[md5sum]}")" 1.1
check "crc32 / md5" "$(ratio "${real[crc32]}" "${real[md5]}")" 1.0
check "all six / slowest alone ($slowest)" "$(ratio "${real[all]}" "${real[$slowest]}")" 1.2
floor="$(awk -v s="$cpu_sum" -v n="$(nproc)" -v m="${real[$slowest]}" 'BEGIN { f = s / n; if (f < m) f = m; printf "%.3f", f }')"
printf '  floor of all six on %s cores: max(slowest %s s, %s cpu s / %s) = %s s, %s x the slowest\n' \
  "$(nproc)" "${real[$slowest]}" "$cpu_sum" "$(nproc)" "$floor" "$(ratio "$floor" "${real[$slowest]}")"
exit $status
