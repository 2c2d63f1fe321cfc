# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts: the Debian packages Zenbalo needs, one way to
# configure and build it, a temporary directory and a private X server.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${ZENBALO_JOBS:-$(nproc)}

# Every package any script installs, each named once, by what needs it.
declare -A packageGroups=(
    [build]="cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xdg-utils
             libsqlite3-dev libboost-math-dev"
    [test]="googletest libgtest-dev desktop-file-utils appstream"
    [package]="dpkg-dev lintian man-db"
    [x]="xvfb xdotool x11-utils"
    [bench]="libbenchmark-dev libxcb1-dev libxcb-damage0-dev"
    [fuzz]="clang libclang-rt-14-dev"
    [profile]="valgrind"
    [pictures]="imagemagick librsvg2-bin faketime xclip"
)

# Installs the packages of the groups named that are not installed yet:
#   need build test
need() {
    local group package missing=()
    for group in "$@"; do
        [ -n "${packageGroups[$group]:-}" ] || { echo "no package group '$group'" >&2; return 2; }
        for package in ${packageGroups[$group]}; do
            dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
                missing+=("$package")
        done
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# cmakeConfigure NAME [CMAKE OPTIONS...]: the build directory build/NAME.
cmakeConfigure() {
    local name=$1
    shift
    cmake -S "$root" -B "$root/build/$name" "$@" >/dev/null
}

# cmakeBuild NAME [TARGETS...]: every target when none is named.
cmakeBuild() {
    local name=$1
    shift
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake --build "$root/build/$name" -j"$jobs" "${targets[@]}"
}

# The program as it is shipped, in build/release; sets $program.
releaseProgram() {
    cmakeConfigure release -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF
    cmakeBuild release zenbalo
    program=$root/build/release/src/app/zenbalo
}

# For the checks: the step under way, and a failure that ends the script.
step() { echo "--- [$SECONDS s] $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# Commands run when the script ends, the last registered first; not when a
# subshell that registers one ends, which would remove $work under the script.
exitCommands=()
atExit() {
    exitCommands+=("$1")
    trap '[ "$BASHPID" != "$$" ] || for ((i = ${#exitCommands[@]} - 1; i >= 0; i--)); do
        eval "${exitCommands[i]}" || true
    done' EXIT
}

# A temporary directory $work, removed when the script ends.
makeWork() {
    [ -z "${work:-}" ] || return 0
    work=$(mktemp -d)
    atExit 'rm -rf "$work"'
}

# privateX [WIDTHxHEIGHTxDEPTH]: an X server of this script's own, ended with
# it, and a runtime directory of its own for Qt.
privateX() {
    makeWork
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    atExit "kill $! 2>/dev/null"
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
    export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}
