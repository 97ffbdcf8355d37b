#!/usr/bin/env bash
# Runs a copy of orlin-cli from a folder with no resources/ in it, from another working
# directory, and checks that the answers that need a text carry the English text of
# resources/strings/en-US.txt, never the key.
#
# Usage: english-texts-test.sh ORLIN_CLI SOURCE_DIR
set -euo pipefail

cli="$1"
source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/cwd"
cp "$cli" "$work/bin/orlin-cli"
# The fixed-header PNG pattern: its IHDR fields past the end show the unavailable text.
cp "$source_dir/tests/structview/compat/png.orpat" "$work/png.orpat"
printf '\x89PNG' >"$work/short.png"
cd "$work/cwd"

passes=0
failures=0
english() { # key
  sed -n "s/^$1[[:space:]]*=[[:space:]]*//p" "$source_dir/resources/strings/en-US.txt"
}
expect() { # description expected-text actual-output
  if [[ -z "$2" ]]; then
    echo "FAIL $1: en-US.txt has no such text" >&2
    failures=$((failures + 1))
  elif [[ "$3" != *"$2"* ]]; then
    printf 'FAIL %s: expected "%s" in:\n%s\n' "$1" "$2" "$3" >&2
    failures=$((failures + 1))
  else
    echo "ok   $1"
    passes=$((passes + 1))
  fi
}
run() { "$work/bin/orlin-cli" "$@" 2>&1 || true; }

unavailable="$(english inspector.data.value.unavailable)"
inspect="$(run inspect ../short.png 3)"
expect "inspect past the end" "uint16_le	$unavailable" "$inspect"
expect "find with bad hex" "$(english error.search_invalid_hex)" "$(run find ../short.png --hex ABC)"
expect "find with unencodable text" "$(english error.search_invalid_text)" "$(run find ../short.png --text 'café')"
expect "find with empty text" "$(english error.search_empty)" "$(run find ../short.png --text '')"
expect "find with empty hex" "$(english error.search_empty)" "$(run find ../short.png --hex ' ')"
expect "struct past the end" "0x8	$unavailable	4	ihdrLength" "$(run struct ../png.orpat ../short.png)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
