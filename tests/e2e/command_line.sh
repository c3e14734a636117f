# A bad command line exits 2 naming the word; --help, --version exit 0; no display or no XTEST: one line,
# status 1; on Wayland a line saying so comes first.
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
XDG_SESSION_TYPE=wayland run 3000 5
[ "$STATUS" -eq 1 ] && [ "$(grep -c . "$SCRATCH/err")" = 2 ] && head -n 1 "$SCRATCH/err" | grep -q Wayland ||
    fail "on Wayland without a display: status $STATUS, errors '$ERR'; want a line on Wayland, then one on the display"
start_xvfb -extension XTEST
run 3000 5
[ "$STATUS" -eq 1 ] && one_line "$SCRATCH/err" && grep -q XTEST <<<"$ERR" ||
    fail "without XTEST: status $STATUS, errors '$ERR'"
echo PASS
