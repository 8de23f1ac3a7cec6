#!/usr/bin/env bash
# Draws the application icon: a silver disc with its centre hole and a red recording dot.
# res/app.ico holds it at 16x16 and 32x32 for Windows; res/icons/<size>.png at 16, 32, 48, 64,
# 128 and 256 pixels for Linux desktops (the Qt program embeds them, the package installs them).
# Run it again after changing the drawing; the files are committed so the build needs no
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
        -resize "${size}x${size}" "$tmp/icon-$size.png"
}

mkdir -p icons
for size in 16 32 48 64 128 256; do
    draw "$size"
    # No time stamps or other chunks that change from run to run.
    convert "$tmp/icon-$size.png" -strip -depth 8 "icons/$size.png"
done
convert "$tmp/icon-16.png" "$tmp/icon-32.png" app.ico
echo "wrote $(pwd)/app.ico and $(pwd)/icons/*.png"
