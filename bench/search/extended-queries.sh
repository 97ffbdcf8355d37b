#!/usr/bin/env bash
# Times `orlin-cli find` with the extended queries against their plain forms, on the same
# page-cached 1 GiB file of random bytes, all patterns absent, side by side round after round:
#  - a 16-byte hex pattern with wildcards ("??" and "?" nibbles) between fixed first and last
#    bytes, against the same pattern without them: limit 1.5x;
#  - a 16-character ASCII text with --ignore-case, against the same text case-sensitive:
#    limit 2x.
# Exits 1 when a ratio is over its limit.
#
# Usage: bench/search/extended-queries.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  native optimised build with orlin-cli (default build/native)
#   WORK_DIR   where the 1 GiB file is made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS     runs per command; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

native_bench_args "$@"
file="$(orx_random_gib_file "$work")"

exact="01 C3 A9 7E 11 22 33 44 55 66 77 88 99 AA BB CC"
wild="01 C3 ?? 7E 1? 22 33 ?4 55 ?? 77 88 99 A? BB CC"
text="Quartz-Xylophone"
queries=("--hex:$exact" "--hex:$wild" "--text:$text" "--text:$text:--ignore-case")
times=()
for q in "${queries[@]}"; do
  IFS=: read -r kind query flag <<<"$q"
  [ "$("$cli" find "$file" "$kind" "$query" ${flag:+"$flag"} || true)" = "not found" ] || {
    echo "$query occurs in $file; remove the file and run again" >&2
    exit 2
  }
  times+=("")
done
for ((i = 0; i < rounds; i++)); do
  for k in "${!queries[@]}"; do
    IFS=: read -r kind query flag <<<"${queries[$k]}"
    times[$k]+=" $(seconds "$cli" find "$file" "$kind" "$query" ${flag:+"$flag"})"
  done
done
best=()
for k in "${!queries[@]}"; do
  # shellcheck disable=SC2086 # the list of times splits on purpose
  best+=("$(min ${times[$k]})")
done
echo "file: $file (1 GiB, page-cached), absent patterns, best of $rounds runs"
printf '  %-52s %s s\n' "hex $exact" "${best[0]}" "hex $wild" "${best[1]}" \
  "text $text" "${best[2]}" "text $text --ignore-case" "${best[3]}"
check "wildcards / exact" "$(ratio "${best[1]}" "${best[0]}")" 1.5
check "ignore case / case-sensitive" "$(ratio "${best[3]}" "${best[2]}")" 2.0
exit "$status"
