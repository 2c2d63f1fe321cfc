#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every tracked source file (C++, CMake, shell and any other script) names its
# licence on its first line, or on its second after a "#!" line.
# Usage: licence_lines.sh SOURCE_DIR; exits 77 (skipped) outside a git checkout.
set -euo pipefail
cd "$1"
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "not a git checkout: nothing to check"; exit 77; }
line='SPDX-License-Identifier: GPL-3.0-or-later'
missing=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    case $file in
        *.cpp | *.h | *.sh | *.cmake | CMakeLists.txt | */CMakeLists.txt) ;;
        *) head -c 2 "$file" | grep -q '^#!' || continue ;;
    esac
    first=$(head -n 1 "$file")
    [ "${first:0:2}" = '#!' ] && first=$(sed -n 2p "$file")
    [[ $first == *"$line"* ]] || missing+=("$file")
done < <(git ls-files -z)
if [ ${#missing[@]} -gt 0 ]; then
    printf 'no "%s" at the top of:\n' "$line"
    printf '  %s\n' "${missing[@]}"
    exit 1
fi
echo "every source file names its licence"
