#!/usr/bin/env bash
# Starts orlin.exe with the struct view and the data inspector shown on displays of the sizes
# people have, a 1920 × 1080 monitor (English, dark blue; and at 144 DPI, black) and a
# 1366 × 768 laptop (Japanese, light), each a private Xvfb of its own, and checks from the windows' geometry that the
# editor placed all three inside the screen without covering one another. On the 1920
# display the hex view must show its columns whole: no horizontal scroll bar, checked in the
# capture. The captures stay in OUT_DIR for inspection.
#
# Usage: small-screens-screenshot-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs a prepared Wine prefix (scripts/test provides it). Starts its own displays, and a
# Wine server of its own on each, in a copy of the prefix: Wine's desktop, and with it the
# monitor's size, belongs to the server and the display it started on.
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

fail() {
  echo "small screens screenshot test: $*" >&2
  exit 1
}

orx_stage_editor "$exe" "$source_dir" "$out" || fail "cannot stage the editor"
prefix="$out/prefix"
cp -a "$WINEPREFIX" "$prefix" || fail "cannot copy the Wine prefix"
export WINEPREFIX="$prefix"
for i in $(seq 0 1023); do printf "\\x$(printf %02x $((i % 256)))"; done >"$out/sample.bin"

geometry() {
  xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)='
}

# The X display number of a free private display.
free_display() {
  local n
  for n in $(seq 150 190); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

check_screen() { # width height dpi theme language struct-view-title inspector-title background
  local width="$1" height="$2" dpi="$3" theme="$4" language="$5" struct_title="$6"
  local inspector_title="$7" background="$8"
  local dir="$out/${width}x${height}-${dpi}dpi"
  mkdir -p "$dir"
  local n
  n="$(free_display)" || fail "no free display number"
  Xvfb ":$n" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  local orlin=""
  # shellcheck disable=SC2064
  trap "kill \$orlin 2>/dev/null; wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf '$prefix'" EXIT
  local DISPLAY=":$n"
  export DISPLAY
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  # The server and its desktop on this display, detached from the caller's output pipes.
  wineserver -p >/dev/null 2>&1 || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true

  printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "%s",\r\n  "language": "%s",\r\n  "analysis": {\r\n    "dataInspector": { "visible": true },\r\n    "structView": { "visible": true }\r\n  }\r\n}\r\n' \
    "$theme" "$language" >"$out/app/orlin.settings.json"
  wine "$out/app/orlin.exe" "$(winepath -w "$out/sample.bin")" </dev/null >"$dir/wine.log" 2>&1 &
  orlin=$!

  local main inspector structview
  # Where the main window first shows, polled closely: the side windows come after the first
  # rows, and it must already have left room for them.
  local main="" first=""
  for _ in $(seq 1 1500); do
    main="$(xdotool search --onlyvisible --name '^Orlin - sample\.bin' 2>/dev/null | head -1 || true)"
    if [ -n "$main" ]; then
      first="$(geometry "$main" | cut -d= -f2 | tr '\n' ' ')"
      break
    fi
    kill -0 "$orlin" 2>/dev/null || fail "${width}: see $dir/wine.log"
    sleep 0.02
  done
  [ -n "$main" ] || fail "${width}: no main window"
  inspector="$(orx_wait_for_window "^${inspector_title}\$" "$orlin")" || fail "${width}: no inspector"
  structview="$(orx_wait_for_window "^${struct_title}\$" "$orlin")" || fail "${width}: no struct view"
  sleep 3 # the first paints and the placement settle
  local X Y WIDTH HEIGHT
  local -a frames=()
  local window
  for window in "$structview" "$main" "$inspector"; do
    eval "$(geometry "$window")"
    frames+=("$X $Y $WIDTH $HEIGHT")
  done
  echo "${width}x${height}: struct view ${frames[0]}, main ${frames[1]}, inspector ${frames[2]}"
  [ "$first" = "${frames[1]} " ] ||
    fail "${width}x${height}: the main window moved from $first when the side windows came"
  local i j
  for i in 0 1 2; do
    read -r X Y WIDTH HEIGHT <<<"${frames[$i]}"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$width" ] && [ $((Y + HEIGHT)) -le "$height" ] ||
      fail "${width}x${height}: window $i (${frames[$i]}) is not inside the screen"
  done
  local ax ay aw ah bx by bw bh
  for i in 0 1 2; do
    for j in 0 1 2; do
      [ "$i" -lt "$j" ] || continue
      read -r ax ay aw ah <<<"${frames[$i]}"
      read -r bx by bw bh <<<"${frames[$j]}"
      if [ "$ax" -lt $((bx + bw)) ] && [ "$bx" -lt $((ax + aw)) ] && [ "$ay" -lt $((by + bh)) ] && [ "$by" -lt $((ay + ah)) ]; then
        fail "${width}x${height}: windows $i and $j overlap"
      fi
    done
  done
  local shot="$dir/screen.png"
  import -window root "$shot"
  echo "${width}x${height}: capture $shot"

  if [ "$width" -ge 1920 ] && [ "$dpi" -eq 96 ]; then
    # Right of the text column and just above the status bar the view shows its dark
    # background; a horizontal scroll bar would put the system's light grey there.
    read -r X Y WIDTH HEIGHT <<<"${frames[1]}"
    local light
    light="$(convert "$shot" -crop "80x50+$((X + WIDTH - 120))+$((Y + HEIGHT - 75))" +repage -alpha off \
      -colorspace Gray -threshold 50% -format '%[fx:round(mean*w*h)]' info:)"
    echo "${width}x${height}: light pixels where a horizontal scroll bar would be: $light"
    [ "$light" -lt 200 ] || fail "${width}x${height}: the hex view shows a horizontal scroll bar"
    local colour
    colour="$(convert "$shot" -crop "$((WIDTH / 2))x$((HEIGHT / 2))+$((X + WIDTH / 4))+$((Y + HEIGHT / 4))" +repage \
      -alpha off -format %c histogram:info:- | sort -rn | sed -n 1p | grep -oE '#[0-9A-F]{6}' | head -1)"
    [ "$colour" = "$background" ] || fail "${width}x${height}: the main window shows $colour, not $background"
  fi

  kill "$orlin" 2>/dev/null || true
  wait "$orlin" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  trap - EXIT
}

check_screen 1920 1080 96 DarkBlue English "Struct View" "Data Inspector" "#0D1B2A"
check_screen 1366 768 96 Light Japanese "構造体ビュー" "データインスペクター" "#F6F4EF"
check_screen 1920 1080 144 Black English "Struct View" "Data Inspector" "#111111"
rm -rf "$prefix"
echo "small screens screenshot test passed"
