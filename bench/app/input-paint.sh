#!/usr/bin/env bash
# Cross-builds the input benchmark and runs it in-process under Wine on a virtual display:
# what a caret step, a typed digit, Page Down and one-row scrolls cost to paint, beside a
# full repaint of the same view, the WM_PAINTs per input, and the steps of one full paint.
# Usage: bench/app/input-paint.sh [BUILD_DIR] [RUNS]   (default build/bench-win, 120)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
runs="${2:-120}"
orx_configure_win "$build"
orx_build "$build" --target orx_input_paint_bench

cleanup() {
  if [ -n "${work:-}" ]; then rm -rf "$work"; fi
  orx_stop_wine
  orx_stop_xvfb
}
trap cleanup EXIT
orx_start_xvfb
orx_start_wine "$build"
work="$(mktemp -d "$build/input-paint-XXXXXX")"
wine "$build/src/hexview/win/orx_input_paint_bench.exe" "$(winepath -w "$work")" "$runs" </dev/null
