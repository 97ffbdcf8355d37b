#!/usr/bin/env bash
# Starts orlin.exe with the struct view and the data inspector shown, once in each theme,
# and checks the captures: the struct view docked against the main window's left edge and
# the inspector against its right edge, neither covering it, at the main window's height;
# each window painted in the theme's colours, the struct view's message panel too; the
# inspector's header band, its row labels and the values of the caret's bytes drawn; the
# struct view's caption band.
# The captures stay in OUT_DIR for inspection.
#
# Usage: side-windows-screenshot-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs DISPLAY, at least 2,560 pixels wide, and a running Wine server (scripts/test
# provides both).
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

fail() {
  echo "side windows screenshot test: $*" >&2
  exit 1
}

orx_stage_editor "$exe" "$source_dir" "$out" || fail "cannot stage the editor"
screen_width="$(xdpyinfo | awk '/dimensions:/ { split($2, size, "x"); print size[1] }')"
# The main window opens centred; the side windows beside it fit on a screen this wide.
[ "$screen_width" -ge 2560 ] || fail "the display is $screen_width pixels wide; the three windows need 2,560"

# Every byte value in turn: the caret's bytes give every inspector row a value.
for i in $(seq 0 255); do printf "\\x$(printf %02x $(((i + 0x41) % 256)))"; done >"$out/sample.bin"

# X, Y, WIDTH and HEIGHT of a window, as shell assignments.
geometry() {
  xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)='
}
# The most common colour inside WxH+X+Y, as #RRGGBB.
common_colour() { # capture geometry
  convert "$1" -crop "$2" +repage -alpha off -format %c histogram:info:- | sort -rn | sed -n 1p |
    grep -oE '#[0-9A-F]{6}' | head -1
}

check_theme() { # theme hex-background side-background header-band text
  local theme="$1" hex_background="$2" side_background="$3" band="$4" text="$5"
  local dir="$out/$theme"
  mkdir -p "$dir"
  printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "%s",\r\n  "language": "English",\r\n  "analysis": {\r\n    "dataInspector": { "visible": true },\r\n    "structView": { "visible": true }\r\n  }\r\n}\r\n' \
    "$theme" >"$out/app/orlin.settings.json"
  wine "$out/app/orlin.exe" "$(winepath -w "$out/sample.bin")" </dev/null >"$dir/wine.log" 2>&1 &
  local orlin=$!
  # shellcheck disable=SC2064
  trap "kill $orlin 2>/dev/null || true" EXIT

  local main inspector structview
  main="$(orx_wait_for_window '^Orlin - sample\.bin$' "$orlin")" || fail "$theme: see $dir/wine.log"
  inspector="$(orx_wait_for_window '^Data Inspector$' "$orlin")" || fail "$theme: no inspector"
  structview="$(orx_wait_for_window '^Struct View$' "$orlin")" || fail "$theme: no struct view"
  local X Y WIDTH HEIGHT docked=0 shot="$dir/side-windows.png"
  local mx my mw mh ix iy iw ih sx sy sw sh
  for _ in $(seq 1 120); do
    eval "$(geometry "$main")"
    mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
    eval "$(geometry "$inspector")"
    ix=$X iy=$Y iw=$WIDTH ih=$HEIGHT
    eval "$(geometry "$structview")"
    sx=$X sy=$Y sw=$WIDTH sh=$HEIGHT
    # Docked: touching the main window's edges (within a frame's width), at its height.
    if [ $((ix - (mx + mw))) -ge -2 ] && [ $((ix - (mx + mw))) -le 8 ] &&
      [ $((mx - (sx + sw))) -ge -2 ] && [ $((mx - (sx + sw))) -le 8 ] &&
      [ "${iy#-}" -ge 0 ] && [ $(((iy + ih) - (my + mh))) -le 8 ] && [ $((my - iy)) -le 40 ] &&
      [ "$sy" -ge $((my - 40)) ] && [ $(((sy + sh) - (my + mh))) -le 8 ]; then
      docked=1
      # Painted: the inspector's header band and the main window's background are there.
      import -window root "$shot"
      if [ "$(orx_count_colour "$shot" "$band" 3% "${iw}x80+${ix}+${iy}")" -ge $((iw * 10)) ] &&
        [ "$(common_colour "$shot" "$((mw / 2))x$((mh / 2))+$((mx + mw / 4))+$((my + mh / 4))")" = "$hex_background" ]; then
        break
      fi
    fi
    sleep 0.5
  done
  echo "$theme: main ${mw}x${mh}+${mx}+${my}, inspector ${iw}x${ih}+${ix}+${iy}, struct view ${sw}x${sh}+${sx}+${sy}"
  [ "$docked" = 1 ] || fail "$theme: the side windows are not docked against the main window"
  echo "$theme: capture $shot"

  local colour
  colour="$(common_colour "$shot" "$((mw / 2))x$((mh / 2))+$((mx + mw / 4))+$((my + mh / 4))")"
  [ "$colour" = "$hex_background" ] || fail "$theme: the main window shows $colour, not $hex_background"
  colour="$(common_colour "$shot" "${iw}x$((ih - 100))+${ix}+$((iy + 100))")"
  [ "$colour" = "$side_background" ] || fail "$theme: the inspector shows $colour, not $side_background"
  # The struct view's message panel, under its caption band, in the theme's colours too.
  colour="$(common_colour "$shot" "$((sw - 80))x$((sh - 250))+$((sx + 40))+$((sy + 160))")"
  [ "$colour" = "$side_background" ] || fail "$theme: the struct view's panel shows $colour, not $side_background"
  local band_pixels
  band_pixels="$(orx_count_colour "$shot" "$band" 3% "${iw}x80+${ix}+${iy}")"
  [ "$band_pixels" -ge $((iw * 10)) ] || fail "$theme: no header band in the inspector ($band_pixels pixels)"
  band_pixels="$(orx_count_colour "$shot" "$band" 3% "${sw}x80+${sx}+${sy}")"
  [ "$band_pixels" -ge $((sw * 10)) ] || fail "$theme: no caption band in the struct view ($band_pixels pixels)"

  # Text in the theme's colour: the labels in the inspector's left quarter, the values
  # right of them on the eleven rows under the header, the button captions in the struct
  # view's band.
  local labels values
  labels="$(orx_count_colour "$shot" "$text" 20% "$((iw / 4 - 8))x400+$((ix + 8))+$((iy + 90))")"
  values="$(orx_count_colour "$shot" "$text" 20% "$((iw * 3 / 4 - 8))x400+$((ix + iw / 4 + 4))+$((iy + 90))")"
  echo "$theme: inspector text pixels: labels $labels, values $values"
  [ "$labels" -ge 300 ] || fail "$theme: the inspector's row labels are missing"
  [ "$values" -ge 600 ] || fail "$theme: the inspector's values are missing"

  kill "$orlin" 2>/dev/null || true
  wait "$orlin" 2>/dev/null || true
  trap - EXIT
}

check_theme DarkBlue "#0D1B2A" "#0F141C" "#2A476E" "#E6EDF3"
check_theme Black "#111111" "#111111" "#2D2D2D" "#F3F3F3"
check_theme Light "#F6F4EF" "#FAFAFA" "#E0E8F2" "#202020"
echo "side windows screenshot test passed"
