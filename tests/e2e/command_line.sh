# A bad command line exits 2 naming the word; --help, --version exit 0; no display or no XTEST: one line,
# status 1, and --check says there is no route.
source "$(dirname "$0")/common.sh"
unset DISPLAY  # until the last rows: a program that went on to open one would fail with status 1

# expect STATUS OUT ERR PATTERN ARGUMENTS...: the program run with ARGUMENTS ends with STATUS and writes OUT lines
# to standard output and ERR to standard error (- for any number), PATTERN (an ERE, if any) in one of them.
expect() {
    local status=0
    "$PROGRAM" "${@:5}" >"$SCRATCH/out" 2>"$SCRATCH/err" || status=$?
    [ "$status" = "$1" ] && lines "$2" "$SCRATCH/out" && lines "$3" "$SCRATCH/err" &&
        { [ -z "$4" ] || grep -qE -- "$4" "$SCRATCH/out" "$SCRATCH/err"; } ||
        fail "${*:5}: status $status, want $1; it wrote:"$'\n'"$(cat "$SCRATCH/out" "$SCRATCH/err")"
}
lines() { [ "$1" = - ] || [ "$(wc -l <"$2")" = "$1" ]; }

expect 2 0 - '"x"' 3000 x
expect 0 - 0 . --help
expect 0 - 0 "^$NUDGEWICK_NAME ${NUDGEWICK_VERSION//./\\.}\$" --version
expect 1 - 1 . 3000 5
expect 1 - - '^session: X11, no X display' --check
# Variables that name a Wayland session with no compositor behind them: the session is X11's.
XDG_SESSION_TYPE=wayland XDG_RUNTIME_DIR=$SCRATCH WAYLAND_DISPLAY=wayland-nowhere expect 1 - 1 'X display' 3000 5
start_xvfb -extension XTEST
expect 1 - 1 XTEST 3000 5
expect 1 - - '^route: none' --check
echo PASS
