#!/usr/bin/env bash
# Unpacks the Windows package into an empty folder and uses it there under Wine, with a new
# Wine prefix, as someone who has just downloaded it would: orlin-cli.exe dump, find and hash
# on the demo file it carries, a check that every DLL the programs import is shipped or is
# Windows' own, then orlin.exe on the same file until its window shows the bytes
# (the screenshot stays in OUT_DIR), closed as a user closes it, which writes the settings
# file beside the executable.
#
# Usage: package-test.sh ZIP OUT_DIR   (needs DISPLAY; scripts/test provides it)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"

zip="$(realpath "$1")"
out="$2"
fail() {
  echo "package test: $*" >&2
  exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY; run under scripts/test or after orx_start_xvfb"

rm -rf "$out"
mkdir -p "$out/unpacked"
out="$(realpath "$out")"
orlin_pid=""
cleanup() {
  if [ -n "$orlin_pid" ]; then kill "$orlin_pid" 2>/dev/null || true; fi
  orx_stop_wine
}
trap cleanup EXIT

(cd "$out/unpacked" && cmake -E tar xf "$zip")
app="$out/unpacked/$(basename "$zip" .zip)"
for shipped in orlin.exe orlin-cli.exe LICENSE.txt demo.bin resources/strings/en-US.txt \
  resources/strings/ja-JP.txt patterns/png.orpat; do
  [ -f "$app/$shipped" ] || fail "the package lacks $shipped"
done
[ ! -e "$app/orlin.settings.json" ] || fail "the package carries a settings file"

started=$SECONDS
orx_start_wine "$out"
echo "new Wine prefix ready in $((SECONDS - started)) s"
demo="$(winepath -w "$app/demo.bin")"
# Run from another folder, so that only the package's own layout can supply what they need.
cd "$out"

cli() { wine "$app/orlin-cli.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }
expect() { # description expected actual
  [[ "$3" == *"$2"* ]] || fail "$1: expected \"$2\" in: $3"
  echo "ok   $1"
}
expect "dump" "00000000: 89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52  .PNG........IHDR" \
  "$(cli dump "$demo" --rows 1)"
expect "find hex" "0xC" "$(cli find "$demo" --hex '49 48 44 52')"
expect "find Shift_JIS text" "0x229" "$(cli find "$demo" --text 'ファイル' --encoding sjis)"
expect "find with bad hex, in English" "The search text is not valid hex." "$(cli find "$demo" --hex ABC)"
expect "hash like sha256sum" "$(sha256sum "$app/demo.bin" | cut -d' ' -f1)  $demo" \
  "$(cli hash "$demo" --algorithm sha256)"
expect "hash, all six" "MD5  $(md5sum "$app/demo.bin" | cut -d' ' -f1)" "$(cli hash "$demo")"

# Every DLL the programs import is either shipped beside them or one of Windows' own (as the
# new prefix's system32 holds them); the runs above and below load them all.
system32="$WINEPREFIX/drive_c/windows/system32"
for program in orlin.exe orlin-cli.exe; do
  while read -r dll; do
    [ -n "$dll" ] || continue
    if [ -f "$app/$dll" ] || find "$app" "$system32" -maxdepth 1 -iname "$dll" | grep -q .; then
      continue
    fi
    fail "$program imports $dll, which is neither in the package nor a system DLL"
  done < <(x86_64-w64-mingw32-objdump -p "$app/$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
echo "ok   every imported DLL is in the package or in system32"
grep -q "zlib" "$app/LICENSE.txt" || fail "LICENSE.txt does not name zlib, which the programs contain"
echo "ok   LICENSE.txt names zlib"

wine "$app/orlin.exe" "$demo" </dev/null >"$out/wine.log" 2>&1 &
orlin_pid=$!
window="$(orx_wait_for_window '^Orlin - demo\.bin$' "$orlin_pid")" || fail "see $out/wine.log"

# The first Direct2D paint under Wine takes a few seconds: wait until the first rows of the
# view, below the menu bar, show a background and text in several colours rather than one
# plain colour, then keep the capture.
shot="$out/orlin-package.png"
painted=0
for _ in $(seq 1 120); do
  sleep 0.5
  import -window "$window" "$shot"
  colours="$(convert "$shot" -crop 600x120+0+60 +repage -format %k info:)"
  if [ "$colours" -ge 4 ]; then painted=1; break; fi
done
[ "$painted" = 1 ] || fail "the window never showed the file (capture: $shot)"
echo "capture: $shot"

# Closed as a user closes it; the editor then stamps and writes its settings.
wine taskkill /im orlin.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 1 100); do
  kill -0 "$orlin_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$orlin_pid" 2>/dev/null && fail "orlin.exe did not close"
orlin_pid=""
[ -f "$app/orlin.settings.json" ] || fail "no settings file beside orlin.exe after closing"
echo "ok   settings written to $app/orlin.settings.json"
echo "package test passed in $((SECONDS - started)) s"
