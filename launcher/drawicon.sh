#!/bin/sh
# Draws brakstart.ico, the launcher's own icon: a disc with a play mark, at
# 16, 32 and 48 pixels. Run by hand after a change; the .ico is committed.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
for s in 16 32 48; do
    # Drawn on a 480-pixel canvas and scaled down, so every size is the same picture.
    convert -size 480x480 xc:none \
        -fill '#c8ccd4' -stroke '#505868' -strokewidth 16 -draw 'circle 240,240 240,20' \
        -fill '#8fa8d8' -stroke none -draw 'circle 240,240 240,110' \
        -fill none -stroke '#505868' -strokewidth 12 -draw 'circle 240,240 240,190' \
        -fill '#d02818' -stroke '#601008' -strokewidth 14 \
        -draw 'polygon 250,200 250,460 470,330' \
        -resize "${s}x${s}" -define png:color-type=6 "$tmp/icon$s.png"
done
icotool -c -o "$here/brakstart.ico" "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png"
