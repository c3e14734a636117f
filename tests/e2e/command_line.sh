# Command lines refused or answered before any window: the program runs
# without DISPLAY, so opening one would fail with status 1. Then the two
# ways start-up fails: no display, and a display without XTEST.
source "$(dirname "$0")/common.sh"

run() {
    STATUS=0
    env -u DISPLAY "$PROGRAM" "$@" >out.txt 2>err.txt || STATUS=$?
    OUT=$(cat out.txt) ERR=$(cat err.txt)
    rm -f out.txt err.txt
}
cd "$(mktemp -d)"

expect_refused() {
    local word=$1
    shift
    run "$@"
    [ "$STATUS" -eq 2 ] || fail "$* gave status $STATUS, want 2"
    [ -z "$OUT" ] || fail "$* wrote to standard output: $OUT"
    grep -qF "\"$word\"" <<<"$ERR" || fail "$* does not name $word: $ERR"
}
expect_refused abc abc
expect_refused 40000 40000 5
expect_refused 40000 3000 40000
expect_refused x 3000 x

for flag in --help --version; do
    run 3000 "$flag"
    [ "$STATUS" -eq 0 ] && [ -n "$OUT" ] && [ -z "$ERR" ] || fail "$flag gave status $STATUS, output '$OUT', errors '$ERR'"
done
grep -q '^Nudgewick 1\.00$' <<<"$OUT" || fail "--version printed $OUT"

run 3000 5
[ "$STATUS" -eq 1 ] && [ "$(wc -l <<<"$ERR")" -eq 1 ] || fail "without a display: status $STATUS, errors '$ERR'"

start_xvfb -extension XTEST
STATUS=0
ERR=$("$PROGRAM" 3000 5 2>&1 >/dev/null) || STATUS=$?
[ "$STATUS" -eq 1 ] && grep -q XTEST <<<"$ERR" && [ "$(wc -l <<<"$ERR")" -eq 1 ] ||
    fail "without XTEST: status $STATUS, errors '$ERR'"
echo PASS
