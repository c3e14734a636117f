# Bad command lines exit 2 naming the word; --help, --version exit 0; no display or no XTEST: one line, status 1.
source "$(dirname "$0")/common.sh"
unset DISPLAY  # until the last check: a program that went on to open one would fail with status 1

# Sets STATUS, OUT and ERR; ERR is also in $SCRATCH/err.
run() {
    STATUS=0
    "$PROGRAM" "$@" >"$SCRATCH/out" 2>"$SCRATCH/err" || STATUS=$?
    OUT=$(<"$SCRATCH/out") ERR=$(<"$SCRATCH/err")
}

expect_refused() {
    local word=$1
    shift
    run "$@"
    [ "$STATUS" -eq 2 ] && [ -z "$OUT" ] && grep -qF "\"$word\"" <<<"$ERR" ||
        fail "$* gave status $STATUS, output '$OUT', errors '$ERR'; want 2, no output, \"$word\" named"
}
expect_refused abc abc
expect_refused 40000 40000 5
expect_refused 40000 3000 40000
expect_refused x 3000 x

for flag in --help --version; do
    run "$flag"
    [ "$STATUS" -eq 0 ] && [ -n "$OUT" ] && [ -z "$ERR" ] ||
        fail "$flag gave status $STATUS, output '$OUT', errors '$ERR'"
done
grep -qx 'Nudgewick 1\.00' <<<"$OUT" || fail "--version printed $OUT"

run 3000 5
[ "$STATUS" -eq 1 ] && one_line "$SCRATCH/err" || fail "without a display: status $STATUS, errors '$ERR'"
start_xvfb -extension XTEST
run 3000 5
[ "$STATUS" -eq 1 ] && one_line "$SCRATCH/err" && grep -q XTEST <<<"$ERR" ||
    fail "without XTEST: status $STATUS, errors '$ERR'"
echo PASS
