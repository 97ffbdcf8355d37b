#!/usr/bin/env bash
# From launch until its rows are on screen, orlin.exe's client area shows the theme's
# background, never the system's white: the screen is captured every 50 ms while the editor
# starts, in the dark-blue and the black theme, and each capture of the main window below
# its menu bar and above its status bar must be almost free of pure white (the frame's
# edges and the scroll bars are the system's). The capture with
# the most white stays in OUT_DIR.
# The first rows are drawn with GDI, then Direct2D paints them again: the rows must not
# change when it does. Polling on after the rows show until the picture changes (or for eight
# seconds), at least 99.5 % of the pixels of the characters (those not the background in
# either frame) must be as the first frame had them; both frames stay in OUT_DIR.
#
# Usage: startup-frames-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs DISPLAY and a running Wine server (scripts/test provides both).
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

orx_stage_editor "$exe" "$source_dir" "$out" || { echo "startup frames test: cannot stage" >&2; exit 1; }
head -c 65536 /dev/urandom >"$out/sample.bin"

for theme in DarkBlue Black; do
  printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "%s",\r\n  "language": "English",\r\n  "analysis": {\r\n    "dataInspector": { "visible": true },\r\n    "structView": { "visible": true }\r\n  }\r\n}\r\n' \
    "$theme" >"$out/app/orlin.settings.json"
  ORX_ROOT="$ORX_ROOT" python3 - "$out" "$theme" <<'PY'
import os, subprocess, sys, time

sys.path.insert(0, os.environ["ORX_ROOT"] + "/scripts")
from xscreen import colour, grab, window_geometry, windows_path

out, theme = sys.argv[1], sys.argv[2]

WHITE = colour(255, 255, 255)
TEXT = {"DarkBlue": colour(230, 237, 243), "Black": colour(243, 243, 243)}[theme]
sample = windows_path(os.path.join(out, "sample.bin"))
process = subprocess.Popen(["wine", os.path.join(out, "app", "orlin.exe"), sample],
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
start = time.monotonic()
frames = whitest = 0
worst = None
rows_shown = False
first = later = b""
changed = None


def pixels(frame):
    return [frame[i:i + 3] for i in range(0, len(frame), 4)]


try:
    while time.monotonic() - start < 60 and not rows_shown:
        g = window_geometry("^Orlin - sample")
        if g:
            x, y, w, h = g
            # Below the caption and the menu bar, above the status bar.
            top, bottom = y + 45, y + h - 30
            data = grab(x, top, w, max(bottom - top, 1))
            # As a share of the area: the frame's edges and the scroll bars are the
            # system's light grey and white, a white client area is all of it.
            white = data.count(WHITE) / max(w * (bottom - top), 1)
            frames += 1
            if white > whitest:
                whitest, worst = white, (x, top, w, bottom - top)
            rows_shown = data.count(TEXT) > 3000
            # Rows from the second on (the caret blinks in the first), left of the scroll bar.
            area = (x + 8, top + 24, min(w - 60, 900), 270)
            if not first:
                rows = grab(*area)
                seen = pixels(rows)
                if len(seen) - seen.count(max(set(seen), key=seen.count)) > 2000:
                    first, first_at = rows, time.monotonic()
        time.sleep(0.05)
    later = grab(*area) if first else b""
    while first and later == first and time.monotonic() - first_at < 8:
        time.sleep(0.02)
        later = grab(*area)
    changed = time.monotonic() - first_at if first and later != first else None
finally:
    if worst:
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (worst[2], worst[3], worst[0], worst[1]),
                        os.path.join(out, f"whitest-{theme}.png")], capture_output=True)
    subprocess.run(["pkill", "-f", os.path.join(out, "app", "orlin.exe")], capture_output=True)
    process.wait(timeout=30)
print(f"{theme}: {frames} captures until the rows showed; at most {whitest:.1%} of the client area white")
# The pixels of the characters: those that are not the background in either frame.
before, after = pixels(first), pixels(later)
background = max(set(before), key=before.count) if before else b""
ink = [(a, b) for a, b in zip(before, after) if a != background or b != background]
same = sum(a == b for a, b in ink)
for name, frame in (("first", first), ("next", later)):
    with open(os.path.join(out, f"rows-{theme}-{name}.ppm"), "wb") as image:
        image.write(b"P6 %d %d 255\n" % (area[2], area[3]))
        image.write(b"".join(frame[i:i + 3][::-1] for i in range(0, len(frame), 4)))
print(f"{theme}: {same / max(len(ink), 1):.2%} of the characters' {len(ink)} pixels unchanged when"
      " Direct2D took over" + (f" ({changed:.2f} s after the first rows)" if changed is not None
                               else " (no change in 8 s)"))
if not rows_shown or not first:
    sys.exit(f"{theme}: the rows did not show")
if frames == 0 or whitest > 0.02:
    sys.exit(f"{theme}: the client area showed white ({whitest:.1%})")
if same < 0.995 * len(ink):
    sys.exit(f"{theme}: the rows changed when Direct2D repainted them")
PY
done
echo "startup frames test passed"
