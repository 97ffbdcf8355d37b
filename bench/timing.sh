# Shared by the benchmark scripts. Source it after scripts/lib.sh; it defines functions only.

# Prints the wall-clock seconds of one run of the command (its output discarded).
seconds() {
  local start end
  start=$EPOCHREALTIME
  "$@" </dev/null >/dev/null 2>&1 || true
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }'
}

min() { printf '%s\n' "$@" | sort -g | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# check NAME RATIO LIMIT: prints one verdict line; a ratio over its limit sets status=1.
status=0
check() {
  local verdict=ok
  if awk -v r="$2" -v l="$3" 'BEGIN { exit !(r > l) }'; then verdict="OVER"; status=1; fi
  printf '  %-40s %5s  (limit %s) %s\n' "$1" "$2" "$3" "$verdict"
}

# native_bench_args [BUILD_DIR] [WORK_DIR] [ROUNDS]: sets build, work, rounds and cli (the
# native orlin-cli, which must be built) from a benchmark's arguments and their defaults.
native_bench_args() {
  build="$(realpath -m "${1:-$ORX_ROOT/build/native}")"
  work="$(realpath -m "${2:-/tmp/orlin-bench}")"
  rounds="${3:-5}"
  cli="$build/src/cli/orlin-cli"
  [ -x "$cli" ] || { echo "missing $cli: build orlin-cli in $build" >&2; exit 2; }
}
