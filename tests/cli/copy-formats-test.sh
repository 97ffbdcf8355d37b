#!/usr/bin/env bash
# Checks `orlin-cli dump --format` (the editor's Copy As) against encoders that share no code
# with it: Python's base64 and bytes, and a C compiler that compiles the array and prints
# it back; and `orlin-cli bookmarks` against Python's json module.
#
# Usage: copy-formats-test.sh ORLIN_CLI
set -euo pipefail

cli="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cc="$(command -v cc || command -v gcc || command -v clang)"

passes=0
failures=0
expect() { # description expected actual
  if [[ "$2" == "$3" ]]; then
    passes=$((passes + 1))
  else
    printf 'FAIL %s:\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3" >&2
    failures=$((failures + 1))
  fi
}

# Every byte value, a few odd lengths (padding, short last lines) and a random file.
python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)))' >"$work/all.bin"
head -c 1000 /dev/urandom >"$work/random.bin"
printf 'A' >"$work/one.bin"

# Every format of each range, written by the command; then read back in one pass each by
# Python (base64, the hex forms, the bytes literal) and by one compiled C program.
specs=("all.bin 0 256" "all.bin 7 1" "all.bin 16 17" "random.bin 0 1000" "random.bin 333 334"
       "one.bin 0 1")
{ echo '#include <stdio.h>'; echo 'int main(void) {'; } >"$work/arrays.c"
for i in "${!specs[@]}"; do
  read -r file offset length <<<"${specs[$i]}"
  for form in base64 hex hex-compact python c; do
    "$cli" dump "$work/$file" --format "$form" --offset "$(printf '%X' "$offset")" \
      --length "$length" >"$work/$i.$form"
  done
  { echo '{'; cat "$work/$i.c"
    printf 'printf("%d "); for (unsigned i = 0; i < sizeof data; ++i) printf("%%02X", data[i]); printf("\\n"); }\n' "$i"
  } >>"$work/arrays.c"
done
echo 'return 0; }' >>"$work/arrays.c"
"$cc" -std=c99 -Wall -Werror -o "$work/arrays" "$work/arrays.c"
"$work/arrays" >"$work/arrays.out"
report="$(python3 - "$work" "${specs[@]}" <<'PY'
import base64, sys
work, specs = sys.argv[1], sys.argv[2:]
arrays = dict(line.split() for line in open(work + "/arrays.out"))
for i, spec in enumerate(specs):
    name, offset, length = spec.split()
    data = open(work + "/" + name, "rb").read()[int(offset):int(offset) + int(length)]
    out = lambda form: open("%s/%d.%s" % (work, i, form)).read()
    checks = {
        "base64": out("base64") == base64.b64encode(data).decode() + "\n",
        "hex": out("hex") == " ".join("%02X" % b for b in data) + "\n",
        "hex-compact": out("hex-compact") == data.hex().upper() + "\n",
        "python": eval(out("python")) == data,
        "c": arrays[str(i)] == data.hex().upper(),
        "16 values a line": all(line.count("0x") <= 16 for line in out("c").splitlines()),
    }
    for check, ok in checks.items():
        print(("ok" if ok else "FAIL"), spec, check)
PY
)"
passes=$((passes + $(grep -c '^ok' <<<"$report")))
if grep '^FAIL' <<<"$report" >&2; then failures=$((failures + $(grep -c '^FAIL' <<<"$report"))); fi
# Without --length: to the end of the file. 16 values a line in the array.
expect "to the end" "+vv8/f7/" "$("$cli" dump "$work/all.bin" --format base64 --offset FA)"
expect "16 values a line" "16" \
  "$("$cli" dump "$work/all.bin" --format c | sed -n 2p | grep -o 0x | wc -l)"
set +e
"$cli" dump "$work/one.bin" --format c --length 2 >/dev/null 2>&1
expect "past the end refused" 2 $?
set -e

# bookmarks: the entry for the file, in both outputs; none for another file (status 1).
store="$work/bookmarks.json"
python3 - "$store" "$work/all.bin" <<'PY'
import json, sys
entry = {"path": sys.argv[2], "size": 256, "lastWrite": 1, "regions": [
    {"offset": 16, "length": 4, "colour": "blue", "note": "h\u00e9ader \"x\""},
    {"offset": 255, "length": 1, "colour": "red", "note": ""}]}
json.dump({"version": 1, "files": [entry]}, open(sys.argv[1], "w"))
PY
expect "bookmarks lines" $'0x10 4 blue héader "x"\n0xFF 1 red ' \
  "$(cd "$work" && "$cli" bookmarks all.bin --bookmarks-file "$store" 2>/dev/null)"
expect "bookmarks json" "16 4 blue 255" \
  "$("$cli" bookmarks "$work/all.bin" --json --bookmarks-file "$store" 2>/dev/null | python3 -c '
import json, sys
o = json.load(sys.stdin)["regions"]
print(o[0]["offset"], o[0]["length"], o[0]["colour"], o[1]["offset"])')"
set +e
"$cli" bookmarks "$work/one.bin" --bookmarks-file "$store" >/dev/null 2>&1
expect "no regions" 1 $?
echo '{"files": [' >"$store"
"$cli" bookmarks "$work/all.bin" --bookmarks-file "$store" >/dev/null 2>&1
expect "damaged store" 2 $?
set -e

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
