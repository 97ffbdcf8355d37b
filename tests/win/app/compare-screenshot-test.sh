#!/usr/bin/env bash
# Starts orlin.exe on a file under Wine, once in English with the light theme and once in
# Japanese with the dark-blue theme, opens File > Compare With... from the keyboard (Alt+F, P),
# types the other file's path into the open dialog and captures the compare window. Checks
# that both of its panes show differing bytes in the theme's difference colour. The captures
# stay in OUT_DIR for a look.
#
# Usage: compare-screenshot-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs DISPLAY and a running Wine server (scripts/test provides both).
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

fail() {
  echo "compare screenshot test: $*" >&2
  exit 1
}

orx_stage_editor "$exe" "$source_dir" "$out" || fail "cannot stage the editor"
# The demo file, and a copy with seven bytes changed and four more at the end.
python3 - "$source_dir/resources/demo/demo.bin" "$out" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
open(sys.argv[2] + "/left.bin", "wb").write(data)
for offset in (0x20, 0x21, 0x22, 0x45, 0x90, 0x91, 0x130):
    data[offset] ^= 0x55
open(sys.argv[2] + "/right.bin", "wb").write(data + b"TAIL")
PY


capture() { # language theme chooser-title window-title difference-colour name
  local language="$1" theme="$2" chooser="$3" title="$4" colour="$5" name="$6"
  printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "%s",\r\n  "language": "%s"\r\n}\r\n' \
    "$theme" "$language" >"$out/app/orlin.settings.json"
  wine "$out/app/orlin.exe" "$(winepath -w "$out/left.bin")" </dev/null >"$out/$name.log" 2>&1 &
  local orlin=$!
  # shellcheck disable=SC2064
  trap "kill $orlin 2>/dev/null || true" EXIT
  orx_wait_for_window '^Orlin - left\.bin$' "$orlin" >/dev/null || fail "$name: see $out/$name.log"
  local window=""
  orx_open_from_menu f p "^$chooser\$" >/dev/null || fail "$name: no open dialog titled $chooser appeared"
  sleep 0.5
  xdotool type --delay 20 "$(winepath -w "$out/right.bin")"
  xdotool key Return
  window="$(orx_wait_for_window "^$title\$" "$orlin")" || fail "$name: no compare window"

  local X Y WIDTH HEIGHT shot="$out/$name.png" left=0 right=0
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  for _ in $(seq 1 40); do
    sleep 0.25
    import -window root -crop "${WIDTH}x$((HEIGHT + 30))+${X}+$((Y - 30))" +repage "$shot"
    left="$(orx_count_colour "$shot" "$colour" 6% "$((WIDTH / 2))x${HEIGHT}+0+30")"
    right="$(orx_count_colour "$shot" "$colour" 6% "$((WIDTH / 2))x${HEIGHT}+$((WIDTH / 2))+30")"
    [ "$left" -lt 300 ] || [ "$right" -lt 300 ] || break
  done
  echo "$name: capture $shot (${WIDTH}x${HEIGHT}+${X}+${Y}; difference pixels: left $left, right $right)"
  [ "$left" -ge 300 ] && [ "$right" -ge 300 ] || fail "$name: the differences are not marked in both panes"
  kill "$orlin" 2>/dev/null || true
  wait "$orlin" 2>/dev/null || true
  trap - EXIT
}

capture English Light 'Compare With' 'left\.bin ↔ right\.bin - Compare' '#F6B2B2' compare-en-light
capture Japanese DarkBlue '比較するファイル' 'left\.bin ↔ right\.bin - 比較' '#802430' compare-ja-darkblue
echo "compare screenshot test passed"
