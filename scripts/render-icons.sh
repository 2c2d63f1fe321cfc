#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program's icon from its drawing at the sizes desktops ask for.
# Run it after changing data/icons/zenbalo.svg and commit the PNGs with it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
need pictures
icons="$root/data/icons"
for size in 16 32 48 128 256; do
    # Through a temporary name, so a failed run never leaves half a PNG.
    rsvg-convert -w "$size" -h "$size" -o "$icons/zenbalo-$size.png.tmp" "$icons/zenbalo.svg"
    mv "$icons/zenbalo-$size.png.tmp" "$icons/zenbalo-$size.png"
done
