#!/usr/bin/env bash
# Key-to-pixel latency of orlin.exe as a user sees it: on a private virtual display, sends
# a key with xdotool and polls the window's pixels until they change. Prints the median
# per key (Right, Page Down) over COUNT presses.
# Usage: bench/app/key-latency.sh [BUILD_DIR] [COUNT]   (default build/bench-win, 40)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
count="${2:-40}"
orx_configure_win "$build"
orx_build "$build" --target orlin

work="$(mktemp -d "$build/key-latency-XXXXXX")"
cleanup() {
  if [ -n "${orlin:-}" ]; then kill "$orlin" 2>/dev/null || true; fi
  rm -rf "$work"
  orx_stop_wine
  orx_stop_xvfb
}
trap cleanup EXIT
mkdir -p "$work/app/resources/strings"
cp "$build/src/app/win/orlin.exe" "$work/app/"
cp "$ORX_ROOT"/resources/strings/*.txt "$work/app/resources/strings/"
printf '{\r\n  "appVersion": "v1.03",\r\n  "language": "English"\r\n}\r\n' >"$work/app/orlin.settings.json"
head -c 1048576 /dev/urandom | tr '\000-\037' 'a-zA-Z0-9....................' >"$work/sample.bin" || true

orx_start_xvfb
orx_start_wine "$build"
wine "$work/app/orlin.exe" "$(winepath -w "$work/sample.bin")" </dev/null >/dev/null 2>&1 &
orlin=$!
window=""
for _ in $(seq 1 300); do
  window="$(xdotool search --name 'sample.bin' 2>/dev/null | head -n1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "orlin.exe showed no window" >&2; exit 1; }
xdotool windowsize "$window" 980 780 windowmove "$window" 0 0 windowactivate --sync "$window" \
  2>/dev/null || true
sleep 3

python3 - "$window" "$count" <<'PY'
import ctypes, statistics, subprocess, sys, time

window, count = int(sys.argv[1]), int(sys.argv[2])
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(ctypes.c_void_p(display))

class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int)]

def grab():
    # The hex view only: below the caption and menu bar, above the status bar.
    image = x11.XGetImage(ctypes.c_void_p(display), root, 0, 80, 960, 560, 0xFFFFFFFF, 2)
    img = ctypes.cast(image, ctypes.POINTER(XImage)).contents
    data = ctypes.string_at(img.data, img.bytes_per_line * img.height)
    x11.XDestroyImage(ctypes.c_void_p(image))
    return data

def latency(key):
    before = grab()
    start = time.perf_counter()
    subprocess.run(["xdotool", "key", key], check=True)
    while time.perf_counter() - start < 5.0:
        if grab() != before:
            return (time.perf_counter() - start) * 1000.0
    return None

for name, key, reset in [("Right", "Right", "ctrl+Home"), ("Page Down", "Next", "ctrl+Home")]:
    times = []
    for i in range(count):
        if i % 30 == 29:
            subprocess.run(["xdotool", "key", reset], check=True)
            time.sleep(1.0)
        t = latency(key)
        if t is not None:
            times.append(t)
        time.sleep(0.3)  # let the title and status bar settle
    print(f"  {name:12s} median {statistics.median(times):8.1f} ms over {len(times)} presses"
          if times else f"  {name:12s} no change seen")
PY
