# A bad command line exits 2 naming the word; --help, --version exit 0; no display or no XTEST: one line,
# status 1, and --check says there is no route; without a display the commands find no copy.
source "$(dirname "$0")/common.sh"
unset DISPLAY  # until the last check: a program that went on to open one would fail with status 1

# Sets STATUS, OUT and ERR; ERR is also in $SCRATCH/err.
run() {
    STATUS=0
    "$PROGRAM" "$@" >"$SCRATCH/out" 2>"$SCRATCH/err" || STATUS=$?
    OUT=$(<"$SCRATCH/out") ERR=$(<"$SCRATCH/err")
}

run 3000 x
[ "$STATUS" -eq 2 ] && [ -z "$OUT" ] && grep -qF '"x"' <<<"$ERR" ||
    fail "3000 x gave status $STATUS, output '$OUT', errors '$ERR'; want 2, no output, \"x\" named"

for flag in --help --version; do
    run "$flag"
    [ "$STATUS" -eq 0 ] && [ -n "$OUT" ] && [ -z "$ERR" ] ||
        fail "$flag gave status $STATUS, output '$OUT', errors '$ERR'"
done
grep -qx 'Nudgewick 1\.00' <<<"$OUT" || fail "--version printed $OUT"

run 3000 5
[ "$STATUS" -eq 1 ] && one_line "$SCRATCH/err" || fail "without a display: status $STATUS, errors '$ERR'"
run --check
[ "$STATUS" -eq 1 ] && grep -q '^session: X11, no X display' <<<"$OUT" ||
    fail "--check without a display: status $STATUS, output '$OUT'"
run --stop
[ "$STATUS" = 0 ] && one_line "$SCRATCH/out" || fail "--stop without a display: status $STATUS, output '$OUT'"
run --status
[ "$STATUS" = 3 ] || fail "--status without a display: status $STATUS"
# Variables that name a Wayland session with no compositor behind them: the session is X11's.
XDG_SESSION_TYPE=wayland XDG_RUNTIME_DIR=$SCRATCH WAYLAND_DISPLAY=wayland-nowhere run 3000 5
[ "$STATUS" -eq 1 ] && one_line "$SCRATCH/err" && grep -q 'X display' <<<"$ERR" ||
    fail "with a Wayland display that does not answer: status $STATUS, errors '$ERR'"
start_xvfb -extension XTEST
run 3000 5
[ "$STATUS" -eq 1 ] && one_line "$SCRATCH/err" && grep -q XTEST <<<"$ERR" ||
    fail "without XTEST: status $STATUS, errors '$ERR'"
run --check
[ "$STATUS" -eq 1 ] && grep -q '^route: none' <<<"$OUT" || fail "--check without XTEST: status $STATUS, output '$OUT'"
echo PASS
