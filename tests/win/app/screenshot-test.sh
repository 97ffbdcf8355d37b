#!/usr/bin/env bash
# Starts orlin.exe on a known file under Wine on the current X display, captures its window
# with ImageMagick and checks what it shows: the dark-blue theme's background, the caret
# box on the first byte where the layout puts it, and offset and hex text in the first row.
# The capture stays in OUT_DIR for inspection.
#
# Usage: screenshot-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs DISPLAY and a running Wine server (scripts/test provides both).
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

fail() {
  echo "screenshot test: $*" >&2
  exit 1
}

orx_stage_editor "$exe" "$source_dir" "$out" || fail "cannot stage the editor"

printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "DarkBlue",\r\n  "language": "English",\r\n  "font": {\r\n    "family": "Consolas",\r\n    "size": 12\r\n  }\r\n}\r\n' \
  >"$out/app/orlin.settings.json"
# Four rows: text in the first, then every byte value up to 0x2F. The first byte is a
# space, so that the caret box of its text cell is an unbroken fill.
{ printf ' Orlin test file'; for i in $(seq 0 47); do printf "\\x$(printf %02x "$i")"; done; } >"$out/sample.bin"

wine "$out/app/orlin.exe" "$(winepath -w "$out/sample.bin")" </dev/null >"$out/wine.log" 2>&1 &
orlin=$!
cleanup() {
  kill "$orlin" 2>/dev/null || true
  wait "$orlin" 2>/dev/null || true
}
trap cleanup EXIT

window="$(orx_wait_for_window '^Orlin - sample\.bin$' "$orlin")" || fail "see $out/wine.log"

shot="$out/orlin-screenshot.png"
# Colours of the dark-blue theme: background, offset text, hex text, and the caret box's
# fill (the selection colour at 45 % over the background).
background="#0D1B2A"
offset_colour="#8FB7E2"
text_colour="#E6EDF3"
caret_fill="#154181"

# Pixels close to a colour become white, all others black.
mask() { # image colour fuzz
  convert "$1" -alpha off -fuzz "$3" -fill '#FF00FF' -opaque "$2" -fuzz 0 -fill black +opaque '#FF00FF' \
    -fill white -opaque '#FF00FF' "$out/mask.png"
}
# Number of white pixels of the mask inside WxH+X+Y.
count_in() { # geometry
  convert "$out/mask.png" -crop "$1" +repage -format '%[fx:round(mean*w*h)]' info:
}
# Bounding boxes (WxH+X+Y) of the mask's white areas larger than 40 pixels, left to right.
boxes() {
  convert "$out/mask.png" -define connected-components:verbose=true \
    -define connected-components:area-threshold=40 -connected-components 8 null: |
    awk '$NF ~ /gray\(255\)|white|255,255,255/ { print $2 }' | sort -t+ -k2 -n
}

# The first paint of a new Direct2D device takes a while under Wine: wait for the caret.
painted=0
for _ in $(seq 1 120); do
  import -window "$window" "$shot"
  mask "$shot" "$caret_fill" 6%
  if [ "$(boxes | wc -l)" -ge 2 ]; then painted=1; break; fi
  sleep 0.5
done
[ "$painted" = 1 ] || fail "the caret box never appeared (capture: $shot)"
echo "capture: $shot"

common="$(convert "$shot" -format %c histogram:info:- | sort -rn | sed -n 1p)"
echo "most common colour: $common"
case "$common" in *"$background"*) ;; *) fail "the background is not the dark-blue theme's $background" ;; esac

read -r hex_box text_box < <(boxes | head -2 | paste -sd' ')
geometry() { echo "$1" | sed 's/[x+]/ /g'; }
read -r hex_w hex_h hex_x hex_y <<<"$(geometry "$hex_box")"
read -r text_w text_h text_x text_y <<<"$(geometry "$text_box")"
echo "caret boxes: hex $hex_box, text $text_box"

# The text cell is one cell wide, the hex cell two; 48 cells and a 12-pixel gap lie
# between their left edges. Everything below is measured from these.
cell="$(awk -v a="$hex_x" -v b="$text_x" 'BEGIN { printf "%.2f", (b - a - 12) / 48 }')"
echo "cell width: $cell"
check() { # description awk-condition
  awk -v cell="$cell" -v hw="$hex_w" -v hh="$hex_h" -v hy="$hex_y" -v tw="$text_w" -v th="$text_h" -v ty="$text_y" \
    "BEGIN { exit !($2) }" || fail "$1 (hex $hex_box, text $text_box, cell $cell)"
}
check "cell width is not plausible for a 12-point font" "cell >= 6 && cell <= 14"
check "the hex caret box is not two cells wide" "hw >= 2 * cell - 3 && hw <= 2 * cell + 2"
check "the text caret box is not one cell wide" "tw >= cell - 3 && tw <= cell + 2"
check "the caret boxes are not on one row" "hy == ty && hh == th"
check "the caret box is not one row high" "hh >= 15 && hh <= 3 * cell + 4"

# Offset column: 8 + 9 cells + 12 to the left of the hex column, on the caret's row.
row="${hex_h}"
offset_left="$(awk -v x="$hex_x" -v c="$cell" 'BEGIN { printf "%d", x - 12 - 9 * c - 2 }')"
offset_width="$(awk -v c="$cell" 'BEGIN { printf "%d", 9 * c + 2 }')"
mask "$shot" "$offset_colour" 12%
offset_pixels="$(count_in "${offset_width}x${row}+${offset_left}+${hex_y}")"
echo "offset text pixels in row 0: $offset_pixels"
[ "$offset_pixels" -ge 20 ] || fail "no offset text left of the caret"
left_of_offset="$(count_in "8x${row}+$((offset_left - 10))+${hex_y}")"
[ "$left_of_offset" -le 2 ] || fail "offset text starts left of the margin: the caret is not where the layout puts it"

# Hex digits of bytes 1 to 15 to the right of the caret box, in the text colour.
hex_left=$((hex_x + hex_w + 2))
hex_width="$(awk -v c="$cell" 'BEGIN { printf "%d", 45 * c - 4 }')"
mask "$shot" "$text_colour" 12%
hex_pixels="$(count_in "${hex_width}x${row}+${hex_left}+${hex_y}")"
echo "hex text pixels in row 0: $hex_pixels"
[ "$hex_pixels" -ge 150 ] || fail "no hex text right of the caret"
echo "screenshot test passed"
