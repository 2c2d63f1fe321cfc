#!/usr/bin/env bash
# Renders the program's icon from its drawing at the sizes desktops ask for.
# Run it after changing data/icons/zenbalo.svg and commit the PNGs with it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" librsvg2-bin
icons="$root/data/icons"
for size in 16 32 48 128 256; do
    # Through a temporary name, so a failed run never leaves half a PNG.
    rsvg-convert -w "$size" -h "$size" -o "$icons/zenbalo-$size.png.tmp" "$icons/zenbalo.svg"
    mv "$icons/zenbalo-$size.png.tmp" "$icons/zenbalo-$size.png"
done
