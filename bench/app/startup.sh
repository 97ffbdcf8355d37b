#!/usr/bin/env bash
# Start-up of orlin.exe under Wine, against the floor of a minimal GDI window built the same
# way (bench/app/StartupFloor.cpp). On a private 1920 × 1080 display, each program is
# launched on a file, cold (no Wine server running in the prefix) and warm (server running),
# RUNS times each, and timed from outside until its rows are on screen: the text colour of
# the dark-blue theme covers at least 90 % of what it covers once the picture is steady.
# orlin.exe also writes its own marks (ORX_STARTUP_TRACE): from process creation to each
# step of its start-up. Prints the medians, the ratios to the floor, the most white pixels
# seen in the main window while it started, and the resident memory split between the
# program and Wine's graphics stack.
#
# Usage: bench/app/startup.sh [BUILD_DIR] [RUNS] [FILE_SIZE_MIB]   (build/bench-win, 5, 1)
# With ORX_STARTUP_BEFORE set to another build's orlin.exe, that one is launched and reported
# too, as "before".
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

build="$(realpath -m "${1:-$ORX_ROOT/build/bench-win}")"
runs="${2:-5}"
size_mib="${3:-1}"
orx_configure_win "$build"
orx_build "$build" --target orlin orx_startup_floor

work="$(mktemp -d "$build/startup-XXXXXX")"
xvfb=""
cleanup() {
  orx_stop_wine
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/app/resources/strings"
cp "$build/src/app/win/orlin.exe" "$build/src/app/win/orx_startup_floor.exe" "$work/app/"
cp "$ORX_ROOT"/resources/strings/*.txt "$work/app/resources/strings/"
printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "DarkBlue",\r\n  "language": "English",\r\n  "analysis": {\r\n    "dataInspector": { "visible": true },\r\n    "structView": { "visible": true }\r\n  }\r\n}\r\n' \
  >"$work/app/orlin.settings.json"
if [ -n "${ORX_STARTUP_BEFORE:-}" ]; then cp "$ORX_STARTUP_BEFORE" "$work/app/orlin-before.exe"; fi
head -c $((size_mib << 20)) /dev/urandom >"$work/sample.bin"

for n in $(seq 120 160); do
  if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then break; fi
done
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
orx_start_wine "$build"

ORX_ROOT="$ORX_ROOT" python3 - "$work" "$runs" <<'PY'
import os, re, statistics, subprocess, sys, time

sys.path.insert(0, os.environ["ORX_ROOT"] + "/scripts")
from xscreen import colour, grab, window_geometry, windows_path

work, runs = sys.argv[1], int(sys.argv[2])
TEXT = colour(230, 237, 243)  # the dark-blue theme's text
WHITE = colour(255, 255, 255)

def wine_pid(name):
    out = subprocess.run(["pgrep", "-f", name], capture_output=True, text=True).stdout.split()
    return int(out[-1]) if out else None

def resident_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None

def memory_split(pid):
    graphics = re.compile(r"wined3d|opengl|libGL|swrast|dri|d3d|d2d1|dxgi|LLVM|gallium|mesa", re.I)
    total = gfx = 0
    mapping = ""
    try:
        with open(f"/proc/{pid}/smaps") as smaps:
            for line in smaps:
                if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                    parts = line.split()
                    mapping = parts[5] if len(parts) > 5 else ""
                elif line.startswith("Rss:"):
                    kib = int(line.split()[1])
                    total += kib
                    if graphics.search(mapping):
                        gfx += kib
    except OSError:
        return None
    return total, gfx

def launch(program, title, cold):
    if cold:
        subprocess.run(["wineserver", "-k"], capture_output=True)
        subprocess.run(["wineserver", "-w"], capture_output=True)
    trace = os.path.join(work, "trace.txt")
    if os.path.exists(trace):
        os.remove(trace)
    env = dict(os.environ, ORX_STARTUP_TRACE=windows_path(trace))
    start = time.monotonic()
    process = subprocess.Popen(["wine", os.path.join(work, "app", program),
                                windows_path(os.path.join(work, "sample.bin"))],
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, env=env)
    samples = []  # (seconds, text pixels, white pixels)
    early_rss = None  # resident memory when rows first show: before Direct2D starts
    geometry = None
    window_seen = None
    last_change = time.monotonic()
    while time.monotonic() - start < 30:
        now = time.monotonic() - start
        if geometry is None or len(samples) % 10 == 0:
            geometry = window_geometry(title, 1920, 1080) or geometry
        if geometry:
            if window_seen is None:
                window_seen = now
            x, y, w, h = geometry
            data = grab(x, y, w, h)
            text, white = data.count(TEXT), data.count(WHITE)
            if samples and text != samples[-1][1]:
                last_change = time.monotonic()
            samples.append((now, text, white))
            if early_rss is None and text > 2000:
                pid = wine_pid(program)
                early_rss = resident_kib(pid) if pid else None
            if text > 2000 and time.monotonic() - last_change > 2.0:
                break
        time.sleep(0.02)
    pid = wine_pid(program)
    memory = memory_split(pid) if pid else None
    final = samples[-1][1] if samples else 0
    shown = next((t for t, text, _ in samples if final and text >= 0.9 * final), None)
    whitest = max((white for _, _, white in samples), default=0)
    marks = {}
    if os.path.exists(trace):
        for line in open(trace):
            step, micros = line.rstrip("\n").split("\t")
            marks[step] = int(micros) / 1e6
    subprocess.run(["pkill", "-f", program], capture_output=True)
    process.wait(timeout=30)
    return {"shown": shown, "window": window_seen, "white": whitest, "memory": memory,
            "early": early_rss, "marks": marks}

programs = [("orx_startup_floor.exe", "^Startup floor$"), ("orlin.exe", "^Orlin - sample")]
if os.path.exists(os.path.join(work, "app", "orlin-before.exe")):
    programs.append(("orlin-before.exe", "^Orlin - sample"))
results = {}
for run in range(runs):
    for cold in (True, False):
        for program, title in programs:
            results.setdefault((program, cold), []).append(launch(program, title, cold))

def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else float("nan")

for cold in (True, False):
    label = "cold" if cold else "warm"
    floor = median(r["shown"] for r in results[("orx_startup_floor.exe", cold)])
    for program, _ in programs:
        runs_of = results[(program, cold)]
        shown = median(r["shown"] for r in runs_of)
        print(f"{label} {program}: rows shown {shown:.2f} s (ratio to the floor "
              f"{shown / floor:.2f}), window visible {median(r['window'] for r in runs_of):.2f} s, "
              f"most white pixels in its window {max(r['white'] for r in runs_of)}")
warm = results[("orlin.exe", False)]
steps = [step for step in warm[0]["marks"]]
print("orlin.exe in-process steps (warm, median seconds since process creation):")
for step in steps:
    print(f"  {median(r['marks'].get(step) for r in warm):7.3f}  {step}")
for program, _ in programs:
    memories = [r["memory"] for r in results[(program, False)] if r["memory"]]
    if memories:
        total = median(m[0] for m in memories) / 1024
        gfx = median(m[1] for m in memories) / 1024
        early = median(r["early"] for r in results[(program, False)]) / 1024
        print(f"{program}: resident {early:.0f} MiB when the rows first show, {total:.0f} MiB "
              f"once steady; of that, mapped graphics libraries {gfx:.0f} MiB")
PY
