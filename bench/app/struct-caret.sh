#!/usr/bin/env bash
# Cross-builds the struct view's caret benchmark and runs it in-process under Wine on a
# virtual display: caret moves with no pattern, with a 4,000,000,000-byte entry struct and
# with a 16,000,000-byte first member. Fails when the huge struct costs more than 2x.
# Usage: bench/app/struct-caret.sh [BUILD_DIR]   (default build/bench-win)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
orx_configure_win "$build"
orx_build "$build" --target orx_struct_caret_bench

cleanup() {
  if [ -n "${work:-}" ]; then rm -rf "$work"; fi
  orx_stop_wine
  orx_stop_xvfb
}
trap cleanup EXIT
orx_start_xvfb
orx_start_wine "$build"
work="$(mktemp -d "$build/struct-caret-XXXXXX")"
wine "$build/src/app/win/orx_struct_caret_bench.exe" "$(winepath -w "$work")" \
  "$(winepath -w "$ORX_ROOT")" </dev/null
