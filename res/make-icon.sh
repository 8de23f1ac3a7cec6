#!/usr/bin/env bash
# Draws the application icon: a silver disc with its centre hole and a red recording dot.
#  - res/app.ico, at 16x16 and 32x32, for the Windows resources;
#  - res/icons/velmora-drive-utility-SIZE.png at 16, 32, 48, 64, 128 and 256 pixels, the sizes a
#    Linux desktop asks for: the Qt program embeds them, and they are the hicolor theme's icons.
# Run it again after changing the drawing; the images are committed so the build needs no
# ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

draw() {  # draw SIZE: everything is drawn at 8x and scaled down for smooth edges
    local size=$1 s=$(($1 * 8))
    local c=$((s / 2)) r=$((s / 2 - s / 32)) hole=$((s / 10)) hub=$((s / 5))
    local dot=$((s / 5)) dotx=$((s - s / 5 - s / 32)) doty=$((s - s / 5 - s / 32))
    convert -size "${s}x${s}" xc:none \
        -fill '#9aa4b1' -stroke '#3c4654' -strokewidth $((s / 32)) \
        -draw "circle $c,$c $c,$((c - r))" \
        -stroke none -fill '#d9e1ea' -draw "circle $c,$c $c,$((c - r * 3 / 4))" \
        -fill '#b7c8e8' -draw "path 'M $c,$c L $((c + r * 7 / 10)),$((c - r * 7 / 10)) A $((r * 3 / 4)),$((r * 3 / 4)) 0 0,1 $((c + r * 3 / 4)),$c Z'" \
        -fill '#6f7b8a' -draw "circle $c,$c $c,$((c - hub))" \
        -fill '#ff00ff' -draw "circle $c,$c $c,$((c - hole))" -transparent '#ff00ff' \
        -stroke '#ffffff' -strokewidth $((s / 32)) -fill '#e0201b' \
        -draw "circle $dotx,$doty $dotx,$((doty - dot))" \
        -resize "${size}x${size}" -define png:exclude-chunks=date,time "$tmp/icon-$size.png"
}

mkdir -p icons
for size in 16 32 48 64 128 256; do
    draw "$size"
    cp "$tmp/icon-$size.png" "icons/velmora-drive-utility-$size.png"
done
convert "$tmp/icon-16.png" "$tmp/icon-32.png" app.ico
echo "wrote $(pwd)/app.ico and $(pwd)/icons/"
