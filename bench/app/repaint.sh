#!/usr/bin/env bash
# Cross-builds the repaint benchmark and runs it in-process under Wine on a virtual display:
# one full repaint of the hex view over a 4 KiB file, a 100 GiB sparse file and the same
# with 10,000 scattered insertions, and the small file with two hits marked in every row.
# Fails when a large case costs more than 1.5x the small, or the marked one more than 1.2x.
# Usage: bench/app/repaint.sh [BUILD_DIR]   (default build/bench-win)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
orx_configure_win "$build"
orx_build "$build" --target orx_repaint_bench

cleanup() {
  if [ -n "${work:-}" ]; then rm -rf "$work"; fi
  orx_stop_wine
  orx_stop_xvfb
}
trap cleanup EXIT
orx_start_xvfb
orx_start_wine "$build"
work="$(mktemp -d "$build/repaint-XXXXXX")"
wine "$build/src/hexview/win/orx_repaint_bench.exe" "$(winepath -w "$work")" </dev/null
