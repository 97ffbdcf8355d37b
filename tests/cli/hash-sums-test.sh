#!/usr/bin/env bash
# Checks `orlin-cli hash` against the system's own tools on real files of this machine:
# sha256sum, sha1sum, sha512sum and md5sum for the hashes (byte-identical "VALUE  FILE"
# lines), Python's zlib.crc32 and zlib.adler32 for the checksums, over whole files and over
# ranges cut out with tail and head; the JSON output read back with Python's json module.
#
# Usage: hash-sums-test.sh ORLIN_CLI
set -euo pipefail

cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

passes=0
failures=0
expect() { # description expected actual
  if [[ "$2" == "$3" ]]; then
    echo "ok   $1"
    passes=$((passes + 1))
  else
    printf 'FAIL %s:\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3" >&2
    failures=$((failures + 1))
  fi
}

# Real files of different kinds and sizes: executables, a shared library, text, and an empty
# file; plus one made here that spans several of the command's 1 MiB blocks.
files=("$(command -v bash)" "$(command -v python3)" /etc/services /etc/passwd)
libc="$(python3 -c 'import ctypes.util, sys; sys.stdout.write(ctypes.util.find_library("c") or "")')"
for candidate in "/lib/x86_64-linux-gnu/$libc" "/usr/lib/x86_64-linux-gnu/$libc"; do
  if [ -n "$libc" ] && [ -f "$candidate" ]; then files+=("$(realpath "$candidate")"); break; fi
done
: >"$work/empty.bin"
head -c 3500000 /dev/urandom >"$work/random.bin"
files+=("$work/empty.bin" "$work/random.bin")

zlib_sum() { # crc32|adler32 file [offset length]
  python3 - "$@" <<'PY'
import sys, zlib
kind, path = sys.argv[1], sys.argv[2]
with open(path, "rb") as f:
    data = f.read()
if len(sys.argv) > 3:
    offset, length = int(sys.argv[3]), int(sys.argv[4])
    data = data[offset:offset + length]
print("%08x" % getattr(zlib, kind)(data))
PY
}

for file in "${files[@]}"; do
  [ -r "$file" ] || continue
  name="$(basename "$file")"
  for tool in sha256 sha1 sha512 md5; do
    expect "$name: $tool like ${tool}sum" "$("${tool}sum" "$file")" \
      "$("$cli" hash "$file" --algorithm "$tool")"
  done
  for kind in crc32 adler32; do
    expect "$name: $kind like zlib.$kind" "$(zlib_sum "$kind" "$file")  $file" \
      "$("$cli" hash "$file" --algorithm "$kind")"
  done
  # All six in one pass give the same values as one at a time.
  all="$("$cli" hash "$file")"
  singles="$(for a in crc32 adler32 md5 sha1 sha256 sha512; do
    "$cli" hash "$file" --algorithm "$a" | cut -d' ' -f1
  done)"
  expect "$name: all six at once" "$singles" "$(cut -d' ' -f3 <<<"$all")"
done

# Ranges: the bytes from OFFSET (hexadecimal) for LENGTH (decimal), as tail and head cut them.
big="$work/random.bin"
for range in "0:1" "1000:1048576" "FFFFF:2" "100000:2400000" "355F3F:1"; do
  offset_hex="${range%%:*}"
  length="${range#*:}"
  offset=$((16#$offset_hex))
  cut_out() { tail -c +"$((offset + 1))" "$big" | head -c "$length"; }
  expect "range $range: sha256" "$(cut_out | sha256sum | cut -d' ' -f1)" \
    "$("$cli" hash "$big" --offset "$offset_hex" --length "$length" --algorithm sha256 | cut -d' ' -f1)"
  expect "range $range: md5" "$(cut_out | md5sum | cut -d' ' -f1)" \
    "$("$cli" hash "$big" --offset "0x$offset_hex" --length "$length" --algorithm md5 | cut -d' ' -f1)"
  expect "range $range: crc32" "$(zlib_sum crc32 "$big" "$offset" "$length")" \
    "$("$cli" hash "$big" --offset "$offset_hex" --length "$length" --algorithm crc32 | cut -d' ' -f1)"
done

# JSON: a valid object whose values match the line output.
json="$("$cli" hash "$big" --json --offset 10 --length 100)"
expect "json parses and matches" "$("$cli" hash "$big" --offset 10 --length 100 --algorithm sha512 | cut -d' ' -f1) 16 100 $big" \
  "$(python3 -c 'import json, sys; o = json.loads(sys.argv[1]); print(o["values"]["sha512"], o["offset"], o["length"], o["file"])' "$json")"

# Past the end: refused with status 2 and no value.
set +e
out="$("$cli" hash "$work/empty.bin" --offset 1 2>&1)"
code=$?
set -e
expect "past the end is refused" "2: the range lies past the end of the file (0 bytes)" "$code: $out"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
