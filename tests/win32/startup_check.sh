#!/usr/bin/env bash
# A command line the program does not run with (--version, a bad interval)
# is answered in a "Nudgewick" message and on standard output or error, with
# the exit code of the check and no window.
source "$(dirname "$0")/wine.sh"
exe=$1
output=$(mktemp -d)

# Runs the program, answers its message and prints its exit code.
answer() {
    local status=0
    wine "$exe" "$@" >"$output/out" 2>"$output/err" &
    local program=$!
    local message
    message=$(wait_for_window '^Nudgewick$')
    if xdotool search --name '^Nudgewick 1\.0$' >/dev/null; then fail "the window opened for: $*"; fi
    focus "$message"
    xdotool key Return
    wait "$program" || status=$?
    echo "$status"
}

start_session
trap 'rm -rf "$output"; stop_session' EXIT

status=$(answer --version)
[ "$status" = 0 ] || fail "--version should exit with 0, not $status"
grep -qx 'Nudgewick 1.00' "$output/out" || fail "--version printed: $(cat "$output/out")"

status=$(answer 12x 5)
[ "$status" = 2 ] || fail "a bad interval should exit with 2, not $status"
grep -q 'interval "12x"' "$output/err" || fail "a bad interval printed: $(cat "$output/err")"
echo "PASS: --version and a bad interval are answered without a window"
