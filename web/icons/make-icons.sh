#!/usr/bin/env bash
# Redraws the page's app icons from the program's icon, resources/icons/tarnwick.svg, with
# rsvg-convert (Debian package librsvg2-bin, needed only to redraw them):
#   icon-192.png, icon-512.png  the icon as it is (install prompts, home screens, task bars)
#   icon-maskable-512.png       for systems that cut app icons to their own shape: the tile's
#                               green to every edge, the icon inside the middle 80 %, the part
#                               every such shape keeps
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
svg="$here/../../resources/icons/tarnwick.svg"
for size in 192 512; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$here/icon-$size.png"
done
# The icon's own drawing, nested at 80 % in the middle of a square of its tile's darker green.
inner="$(sed -e '/<?xml/d' -e 's|<svg [^>]*>|<svg x="25.6" y="25.6" width="204.8" height="204.8" viewBox="0 0 256 256">|' "$svg")"
printf '%s\n' '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">' \
  '<rect width="256" height="256" fill="#1d4a2a"/>' "$inner" '</svg>' |
  rsvg-convert -w 512 -h 512 -o "$here/icon-maskable-512.png"
