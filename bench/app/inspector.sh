#!/usr/bin/env bash
# Cross-builds the side-window benchmark and runs it in-process under Wine on a virtual
# display: 1,000 caret moves with the data inspector and the struct view shown against both
# hidden, and the private bytes after 10,000 moves. Fails when the ratio exceeds 1.5 or
# memory grew over 1 MiB.
# Usage: bench/app/inspector.sh [BUILD_DIR [ratio|memory]]   (default build/bench-win; both)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
orx_configure_win "$build"
orx_build "$build" --target orx_inspector_bench

cleanup() {
  orx_stop_wine
  orx_stop_xvfb
}
trap cleanup EXIT
orx_start_xvfb
orx_start_wine "$build"
cd "$ORX_ROOT"
ORX_SOURCE_DIR="$ORX_ROOT" wine "$build/src/app/win/orx_inspector_bench.exe" ${2:+"$2"} </dev/null
