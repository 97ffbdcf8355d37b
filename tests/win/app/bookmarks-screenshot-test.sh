#!/usr/bin/env bash
# Starts orlin.exe on the demo file under Wine with three regions saved for it in the
# bookmarks file beside the settings, in each theme and in English and Japanese; shows the
# bookmarks panel from the keyboard (Alt+B, P) and captures the main window. Checks that each
# region's colour is painted and that the panel's caption strip is there. In the first run it
# also goes to the first region (F2), copies it as a C array (Alt+E, A, C) and reads the X
# clipboard back through a C compiler. The captures stay in OUT_DIR for a look.
#
# Usage: bookmarks-screenshot-test.sh ORLIN_EXE SOURCE_DIR OUT_DIR
# Needs DISPLAY and a running Wine server (scripts/test provides both).
set -euo pipefail
source "$(dirname "$0")/../../../scripts/lib.sh"

exe="$1"
source_dir="$2"
out="$3"

fail() {
  echo "bookmarks screenshot test: $*" >&2
  exit 1
}

orx_stage_editor "$exe" "$source_dir" "$out" || fail "cannot stage the editor"
cp "$source_dir/resources/demo/demo.bin" "$out/demo.bin"
demo="$(winepath -w "$out/demo.bin")"
size="$(stat -c %s "$out/demo.bin")"
# The file's identity as the editor stores it does not matter here: the regions show either way.
python3 - "$out/app/orlin.bookmarks.json" "$demo" "$size" <<'PY'
import json, sys
regions = [
    {"offset": 12, "length": 17, "colour": "blue", "note": "IHDR chunk"},
    {"offset": 33, "length": 8, "colour": "green", "note": "tEXt header \u30c6\u30ad\u30b9\u30c8"},
    {"offset": 64, "length": 40, "colour": "purple", "note": "comment"},
]
entry = {"path": sys.argv[2], "size": int(sys.argv[3]), "lastWrite": 0, "regions": regions}
json.dump({"version": 1, "files": [entry]}, open(sys.argv[1], "w"))
PY

capture() { # language theme name blue green purple header
  local language="$1" theme="$2" name="$3"
  local colours=("$4" "$5" "$6") header="$7"
  printf '{\r\n  "appVersion": "v1.03",\r\n  "theme": "%s",\r\n  "language": "%s"\r\n}\r\n' \
    "$theme" "$language" >"$out/app/orlin.settings.json"
  wine "$out/app/orlin.exe" "$demo" </dev/null >"$out/$name.log" 2>&1 &
  local orlin=$!
  # shellcheck disable=SC2064
  trap "kill $orlin 2>/dev/null || true" EXIT
  local main
  main="$(orx_wait_for_window '^Orlin - demo\.bin' "$orlin")" || fail "$name: see $out/$name.log"
  local X Y WIDTH HEIGHT shot="$out/$name.png" strip=0 _try
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  # The menu bar takes keys once the window has painted: tried until the panel shows.
  for _try in $(seq 1 8); do
    sleep 1
    xdotool key --clearmodifiers alt+b
    sleep 0.3
    xdotool key p
    sleep 1
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
    strip="$(orx_count_colour "$shot" "$header" 2% "${WIDTH}x$((HEIGHT / 2))+0+$((HEIGHT / 2))")"
    [ "$strip" -lt 8000 ] || break
  done
  [ "$strip" -ge 8000 ] || fail "$name: no panel in $shot ($strip pixels of its caption)"
  local colour painted
  for colour in "${colours[@]}"; do
    painted="$(orx_count_colour "$shot" "$colour" 2% "${WIDTH}x${HEIGHT}+0+0")"
    echo "$name: $painted pixels of $colour"
    [ "$painted" -ge 300 ] || fail "$name: the regions in $colour are not painted in $shot"
  done
  if [ -n "${8:-}" ]; then
    xdotool key F2
    sleep 0.5
    xdotool key --clearmodifiers alt+e
    sleep 0.3
    xdotool key a
    sleep 0.3
    xdotool key c
    sleep 1
    { xclip -o -selection clipboard
      printf '\n#include <stdio.h>\nint main(void) { for (unsigned i = 0; i < sizeof data; ++i) printf("%%02X", data[i]); return 0; }\n'
    } >"$out/array.c"
    cc -std=c99 -Wall -Werror -o "$out/array" "$out/array.c" || fail "the copied C array does not compile: $out/array.c"
    local expected
    expected="$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read()[12:29].hex().upper())' "$out/demo.bin")"
    [ "$("$out/array")" = "$expected" ] || fail "the C array copied reads $("$out/array"), not $expected"
    echo "$name: the first region copied as a C array reads back as $expected"
  fi
  echo "$name: capture $shot"
  kill "$orlin" 2>/dev/null || true
  wait "$orlin" 2>/dev/null || true
  trap - EXIT
}

capture English Light bookmarks-en-light '#ACCEFA' '#B2E4AA' '#D4BEF5' '#E0E8F2' clipboard
capture Japanese Light bookmarks-ja-light '#ACCEFA' '#B2E4AA' '#D4BEF5' '#E0E8F2'
capture English DarkBlue bookmarks-en-darkblue '#1C488C' '#1E5F32' '#523484' '#2A476E'
capture Japanese DarkBlue bookmarks-ja-darkblue '#1C488C' '#1E5F32' '#523484' '#2A476E'
capture English Black bookmarks-en-black '#0046A5' '#006428' '#622C9B' '#2D2D2D'
capture Japanese Black bookmarks-ja-black '#0046A5' '#006428' '#622C9B' '#2D2D2D'
echo "bookmarks screenshot test passed"
