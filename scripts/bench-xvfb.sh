# Sourced by the start-up scripts: a private Xvfb server for this shell and a
# temporary working directory ($work) holding the 2047-machine zenbalo.dat
# written by $build/benchmarks/bench_make_library. Both go when the shell ends.
work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
(cd "$work" && "$build/benchmarks/bench_make_library")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
# A runtime directory of its own keeps Zenbalo's single-instance lock apart
# from any Zenbalo the user runs.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
