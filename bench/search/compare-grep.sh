#!/usr/bin/env bash
# Times `orlin-cli find` against `LC_ALL=C grep -F -c -a` on the same page-cached 1 GiB file
# of random bytes and prints the ratios, then times the search in an edited document (10,000
# insertions and 10,000 deletions, built in-process by orx_search_bench) against the same
# search unedited. Exits 1 when a ratio is over its limit.
#
# Usage: bench/search/compare-grep.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  native optimised build with orlin-cli and orx_search_bench (default build/native)
#   WORK_DIR   where the 1 GiB file is made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS     runs per command; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build/native}" && pwd)"
work="${2:-/tmp/orlin-bench}"
rounds="${3:-5}"
cli="$build/src/cli/orlin-cli"
bench="$build/bench/search/orx_search_bench"
for tool in "$cli" "$bench"; do
  [ -x "$tool" ] || { echo "missing $tool: build orlin-cli and orx_search_bench in $build" >&2; exit 2; }
done

# Random bytes with every 0x01 replaced: a pattern starting with 0x01 is absent.
file="$(orx_random_gib_file "$work")"

echo "file: $file (1 GiB, page-cached), best of $rounds runs"
printf '%-8s %10s %12s %12s\n' pattern "grep s" "forward s" "backward s"
results=()
for entry in "1:01" "4:01 C3 A9 7E" "16:01 C3 A9 7E 11 22 33 44 55 66 77 88 99 AA BB CC"; do
  size="${entry%%:*}"
  hex="${entry#*:}"
  bytes="$(printf "$(sed 's/\([0-9A-F][0-9A-F]\) */\\x\1/g' <<<"$hex")")"
  if [ "$("$cli" find "$file" --hex "$hex" || true)" != "not found" ]; then
    echo "pattern $hex occurs in $file; remove the file and run again" >&2
    exit 2
  fi
  g=() f=() b=()
  for ((i = 0; i < rounds; i++)); do
    g+=("$(seconds env LC_ALL=C grep -F -c -a -e "$bytes" "$file")")
    f+=("$(seconds "$cli" find "$file" --hex "$hex")")
    b+=("$(seconds "$cli" find "$file" --hex "$hex" --backward)")
  done
  gm="$(min "${g[@]}")" fm="$(min "${f[@]}")" bm="$(min "${b[@]}")"
  printf '%-8s %10s %12s %12s\n' "$size B" "$gm" "$fm" "$bm"
  results+=("$size $gm $fm $bm")
done

echo "ratios:"
for r in "${results[@]}"; do
  read -r size gm fm bm <<<"$r"
  limit=1.5
  [ "$size" -eq 16 ] && limit=1.0
  check "forward / grep, $size-byte pattern" "$(ratio "$fm" "$gm")" "$limit"
  check "backward / forward, $size-byte pattern" "$(ratio "$bm" "$fm")" 1.5
done

csv="$(ORX_BENCH_FILE="$file" "$bench" --benchmark_repetitions="$rounds" --benchmark_format=csv 2>/dev/null)"
edited_time() { # edited backward
  awk -F, -v name="\"SearchAbsentPattern/edited:$1/size:16/backward:$2/" \
    'index($1, name) == 1 && $1 ~ /_min"$/ { print $3 }' <<<"$csv"
}
plain="$(edited_time 0 0)" edited="$(edited_time 1 0)"
plain_back="$(edited_time 0 1)" edited_back="$(edited_time 1 1)"
printf 'in-process, 16-byte pattern (ms): forward %s, edited %s; backward %s, edited %s\n' \
  "$plain" "$edited" "$plain_back" "$edited_back"
check "edited / unedited, forward" "$(ratio "$edited" "$plain")" 2.0
check "edited / unedited, backward" "$(ratio "$edited_back" "$plain_back")" 2.0
exit $status
