#!/usr/bin/env bash
# Cross-builds orlin-cli.exe and the Find dialog benchmark and runs both under the same Wine
# on a virtual display, side by side on the same page-cached 1 GiB file of random bytes:
#  - a forward search for an absent 16-byte pattern through the dialog (RunSearch with its
#    progress display and message pumping) against `orlin-cli.exe find`; the limit is 1.25x.
#    The cli's time is a whole process run; the time of a run that finds at once is taken off
#    it, so that Wine's process start does not count for the dialog.
#  - the delay from an Escape key press to the search having stopped on a 100 GiB sparse
#    file, median of 10; the limit is 150 ms.
#  - Find All of "4D 5A" from the dialog: the first hit in the list within 300 ms, and all of
#    them listed, against `orlin-cli.exe find --all --count` on the same file (reported).
# Exits 1 when a figure is over its limit.
#
# Usage: bench/app/search-dialog.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  Windows build tree (default build/bench-win)
#   WORK_DIR   where the 1 GiB file is made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS     runs of each search; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
work="$(realpath -m "${2:-/tmp/orlin-bench}")"
rounds="${3:-5}"
orx_configure_win "$build"
orx_build "$build" --target orx_search_dialog_bench orlin-cli

# Random bytes with every 0x01 replaced: a pattern starting with 0x01 is absent.
file="$(orx_random_gib_file "$work")"

cleanup() {
  orx_stop_wine
  orx_stop_xvfb
}
trap cleanup EXIT
orx_start_xvfb
orx_start_wine "$build"

cli="$build/src/cli/orlin-cli.exe"
hex="01 C3 A9 7E 11 22 33 44 55 66 77 88 99 AA BB CC"
winfile="$(winepath -w "$file")"

bench="$build/src/app/win/orx_search_dialog_bench.exe"
# Wine prints CR LF.
run_bench() { wine "$bench" "$1" "$winfile" "$(winepath -w "$work")" "$(winepath -w "$ORX_ROOT")" </dev/null | tr -d '\r'; }

# Side by side, round after round, so that a busy machine slows both alike.
full=() start=() dialog=()
for ((i = 0; i < rounds; i++)); do
  full+=("$(seconds wine "$cli" find "$winfile" --hex "$hex")")
  # The same process finding at once: the pattern's first bytes at offset 0 of a small file.
  start+=("$(seconds wine "$cli" find "$(winepath -w "$cli")" --hex "4D 5A")")
  dialog+=("$(run_bench scan | sed -n 's/^dialog search.*: \([0-9][0-9.]*\) ms$/\1/p')")
done
cli_ms="$(awk -v f="$(min "${full[@]}")" -v s="$(min "${start[@]}")" 'BEGIN { printf "%.1f", (f - s) * 1000 }')"
dialog_ms="$(min "${dialog[@]}")"
echo "1 GiB, absent 16-byte pattern, best of $rounds:"
echo "  orlin-cli.exe find       $cli_ms ms (process start taken off)"
echo "  Find dialog (RunSearch)  $dialog_ms ms"
output="$(run_bench cancel)"
rm -f "$work/sparse-100GiB.bin"
echo "$output"
cancel_ms="$(sed -n 's/^cancel latency.*: median of [0-9]* \([0-9.]*\) ms.*/\1/p' <<<"$output")"

findall="$(run_bench findall)"
echo "$findall"
first_ms="$(sed -n 's/^find all, first hit listed: \([0-9.]*\) ms$/\1/p' <<<"$findall")"
listed="$(sed -n 's/^find all, \([0-9]*\) hits listed.*/\1/p' <<<"$findall")"
counted="$(wine "$cli" find "$winfile" --hex "4D 5A" --count | tr -d '\r')"
all_cli=()
for ((i = 0; i < rounds; i++)); do
  all_cli+=("$(seconds wine "$cli" find "$winfile" --hex "4D 5A" --all)")
done
echo "  orlin-cli.exe find --all: $counted hits, best of $rounds $(min "${all_cli[@]}") s"

status=0
check() { # name value limit
  local verdict=ok
  if awk -v v="$2" -v l="$3" 'BEGIN { exit !(v > l) }'; then verdict="OVER"; status=1; fi
  printf '  %-36s %8s  (limit %s) %s\n' "$1" "$2" "$3" "$verdict"
}
check "dialog / orlin-cli.exe find" "$(awk -v d="$dialog_ms" -v c="$cli_ms" 'BEGIN { printf "%.2f", d / c }')" 1.25
check "cancel latency, ms" "$cancel_ms" 150
check "Find All, first hit listed, ms" "$first_ms" 300
if [ "$listed" != "$counted" ]; then
  echo "  Find All listed $listed hits, orlin-cli.exe counted $counted: DIFFERENT"
  status=1
fi
exit "$status"
