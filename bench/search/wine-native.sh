#!/usr/bin/env bash
# Times `orlin-cli.exe find` under Wine against the native `orlin-cli find`, both searching
# the same page-cached 1 GiB file of random bytes for an absent 16-byte pattern, side by side
# round after round. The limit is 1.5x on whole runs, Wine's process start included; the
# time of a Wine run that finds at once is printed too, to show what that start costs.
# Exits 1 when the ratio is over its limit.
#
# Usage: bench/search/wine-native.sh [NATIVE_BUILD] [WIN_BUILD] [WORK_DIR] [ROUNDS]
#   NATIVE_BUILD  native optimised build tree (default build/native)
#   WIN_BUILD     Windows build tree (default build/win)
#   WORK_DIR      where the 1 GiB file is made and kept between runs (default /tmp/orlin-bench)
#   ROUNDS        runs of each command; the fastest counts (default 5)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/../timing.sh"

native="$(realpath -m "${1:-$ORX_ROOT/build/native}")"
win="$(realpath -m "${2:-$ORX_ROOT/build/win}")"
work="$(realpath -m "${3:-/tmp/orlin-bench}")"
rounds="${4:-5}"
[ -f "$win/CMakeCache.txt" ] || orx_configure_win "$win"
orx_build "$native" --target orlin-cli >/dev/null
orx_build "$win" --target orlin-cli >/dev/null

file="$(orx_random_gib_file "$work")"
trap orx_stop_wine EXIT
orx_start_wine "$win"

cli="$native/src/cli/orlin-cli"
exe="$win/src/cli/orlin-cli.exe"
winfile="$(winepath -w "$file")"
hex="01 C3 A9 7E 11 22 33 44 55 66 77 88 99 AA BB CC"
[ "$("$cli" find "$file" --hex "$hex" || true)" = "not found" ] || {
  echo "pattern $hex occurs in $file; remove the file and run again" >&2
  exit 2
}

n=() w=() s=()
for ((i = 0; i < rounds; i++)); do
  n+=("$(seconds "$cli" find "$file" --hex "$hex")")
  w+=("$(seconds wine "$exe" find "$winfile" --hex "$hex")")
  # The same process finding at once: the first bytes of the executable itself.
  s+=("$(seconds wine "$exe" find "$(winepath -w "$exe")" --hex "4D 5A")")
done
nm="$(min "${n[@]}")" wm="$(min "${w[@]}")" sm="$(min "${s[@]}")"
echo "1 GiB, absent 16-byte pattern, best of $rounds runs:"
echo "  native orlin-cli find       $nm s"
echo "  orlin-cli.exe find (Wine)   $wm s   (a run that finds at once: $sm s)"
check "Wine / native, whole runs" "$(ratio "$wm" "$nm")" 1.5
exit "$status"
