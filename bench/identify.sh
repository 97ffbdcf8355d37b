#!/usr/bin/env bash
# `orlin-cli identify` over every regular file below some folders (default /usr/bin and
# /usr/share): files per second, the share of files a pattern matched, and, from a second
# run under strace, the most bytes read from any one file (as far as the signatures reach
# into each end, at most 64 KiB each). Not part of scripts/test: it reads tens of thousands
# of files.
# usage: bench/identify.sh [ORLIN_CLI [DIR...]]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

cli="${1:-$ORX_ROOT/build/native/src/cli/orlin-cli}"
shift || true
dirs=("$@")
if [ ${#dirs[@]} -eq 0 ]; then dirs=(/usr/bin /usr/share); fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

find "${dirs[@]}" -type f -readable -print0 2>/dev/null >"$work/files"
files=$(tr -cd '\0' <"$work/files" | wc -c)
identify() {
  xargs -0 -n 1000 "$cli" identify --patterns "$ORX_ROOT/patterns" <"$work/files" 2>/dev/null || true
}

start=$EPOCHREALTIME
identify >"$work/matches"
end=$EPOCHREALTIME
matched=$(cut -f1 "$work/matches" | sort -u | wc -l)
awk -v n="$files" -v m="$matched" -v s="$start" -v e="$end" 'BEGIN {
  printf "files: %d in %.1f s, %.0f files/s\n", n, e - s, n / (e - s)
  printf "identified: %d (%.1f %%)\n", m, 100 * m / n }'
echo "best matches by pattern:"
awk -F'\t' '!seen[$1]++ { print $4 }' "$work/matches" | sort | uniq -c | sort -rn | head -15

# Bytes read per file: every read of a file the list names, summed by path.
strace -f -qq -s 0 -e trace=openat,read,pread64,close -o "$work/trace" \
  bash -c "$(declare -f identify); work='$work'; cli='$cli'; ORX_ROOT='$ORX_ROOT'; identify" \
  >/dev/null
python3 - "$work/trace" "$work/files" <<'EOF'
import re, sys
listed = set(open(sys.argv[2], "rb").read().decode(errors="replace").split("\0"))
open_re = re.compile(r'^(\d+) +openat\(AT_FDCWD, "(.*)", [^)]*\) = (\d+)')
read_re = re.compile(r'^(\d+) +p?read(?:64)?\((\d+),.* = (\d+)')
close_re = re.compile(r'^(\d+) +close\((\d+)\)')
fds, totals = {}, {}
for line in open(sys.argv[1], errors="replace"):
    if m := open_re.match(line):
        fds[(m[1], m[3])] = m[2]
    elif m := read_re.match(line):
        path = fds.get((m[1], m[2]))
        if path in listed:
            totals[path] = totals.get(path, 0) + int(m[3])
    elif m := close_re.match(line):
        fds.pop((m[1], m[2]), None)
files = [(n, p) for p, n in totals.items()]
most = max(files) if files else (0, "")
print("bytes read per file: most %d (%s), mean %.0f; over 64 KiB: %d" % (
    most[0], most[1], sum(n for n, _ in files) / max(len(files), 1),
    sum(1 for n, _ in files if n > 64 * 1024)))
EOF
