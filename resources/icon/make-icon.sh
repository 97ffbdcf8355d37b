#!/usr/bin/env bash
# Renders orlin.mvg into the multi-size orlin.ico that orlin.rc embeds as icon 101.
# Needs ImageMagick. Usage: resources/icon/make-icon.sh
set -euo pipefail
cd "$(dirname "$0")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Read by the shell: the default ImageMagick policy refuses "@file" arguments.
convert -size 256x256 xc:none -draw "$(grep -v '^#' orlin.mvg)" "$work/master.png"
sizes=(16 20 24 32 40 48 64 128 256)
frames=()
for size in "${sizes[@]}"; do
  convert "$work/master.png" -filter Lanczos -resize "${size}x${size}" -depth 8 "PNG32:$work/icon-$size.png"
  frames+=("$work/icon-$size.png")
done
convert "${frames[@]}" orlin.ico
echo "wrote $(pwd)/orlin.ico (${sizes[*]})"
