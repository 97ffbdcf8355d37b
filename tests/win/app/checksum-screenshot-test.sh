#!/usr/bin/env bash
# Starts orlin.exe on the demo file under Wine, once in English with the light theme and once
# in Japanese with the dark-blue theme, opens Edit > Checksums and Hashes from the keyboard
# (Alt+E, C) and captures the dialog over the main window. Checks that the dialog shows its
# title in that language and six values: the value boxes hold dark text on white. The
# captures stay in OUT_DIR for a look.
#
# Usage: checksum-screenshot-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs DISPLAY and a running Wine server (scripts/test provides both).
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

fail() {
  echo "checksum screenshot test: $*" >&2
  exit 1
}

orx_stage_editor "$exe" "$source_dir" "$out" || fail "cannot stage the editor"
cp "$source_dir/resources/demo/demo.bin" "$out/demo.bin"


capture() { # language theme title name
  local language="$1" theme="$2" title="$3" name="$4"
  printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "%s",\r\n  "language": "%s"\r\n}\r\n' \
    "$theme" "$language" >"$out/app/orlin.settings.json"
  wine "$out/app/orlin.exe" "$(winepath -w "$out/demo.bin")" </dev/null >"$out/$name.log" 2>&1 &
  local orlin=$!
  # shellcheck disable=SC2064
  trap "kill $orlin 2>/dev/null || true" EXIT
  local main dialog
  main="$(orx_wait_for_window '^Orlin - demo\.bin$' "$orlin")" || fail "$name: see $out/$name.log"
  dialog="$(orx_open_from_menu e c "^$title\$")" || fail "$name: no window titled $title appeared"

  local X Y WIDTH HEIGHT shot="$out/$name.png" values=0
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  local mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$dialog" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  # The demo file is small: its values are there at once; wait for the paint.
  for _ in $(seq 1 40); do
    sleep 0.25
    import -window root -crop "${mw}x$((mh + 40))+${mx}+$((my - 30))" +repage "$shot"
    # Dark digits in the value boxes: the right two thirds of the dialog's lower half.
    values="$(orx_count_colour "$shot" '#000000' 30% \
      "$((WIDTH * 2 / 3))x$((HEIGHT / 2))+$((X - mx + WIDTH / 3))+$((Y - my + 30 + HEIGHT / 3))")"
    [ "$values" -lt 400 ] || break
  done
  echo "$name: capture $shot (dialog ${WIDTH}x${HEIGHT}+${X}+${Y}, $values dark pixels of values)"
  [ "$values" -ge 400 ] || fail "$name: the values are missing from the dialog"
  kill "$orlin" 2>/dev/null || true
  wait "$orlin" 2>/dev/null || true
  trap - EXIT
}

capture English Light 'Checksums and Hashes' checksum-dialog-en-light
capture Japanese DarkBlue 'チェックサムとハッシュ' checksum-dialog-ja-darkblue
echo "checksum screenshot test passed"
