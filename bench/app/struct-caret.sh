#!/usr/bin/env bash
# Cross-builds the struct view's caret benchmark and runs it in-process under Wine on a
# virtual display: caret moves with no pattern, with a 4,000,000,000-byte entry struct, with
# a 16,000,000-byte first member and with records repeated to the end of the 16 MiB window
# (following the caret and anchored). Fails when a case costs the window thread more than
# 1.5x a move without a pattern, or the huge struct more than 2x the time per move.
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
