# Sourced by the Windows end-to-end tests: nudgewick.exe under Wine on a
# private X server, in the shared prefix named by WINEPREFIX.
#   start_session          starts Xvfb; on exit stops Wine in the prefix, then Xvfb
#   wait_for_window REGEX  prints the id of the first window whose title matches
#   focus WINDOW           gives it the keyboard, and Wine a moment to activate it
#   wait_for_no_window REGEX
#   pointer_column / pointer_row
#   fail MESSAGE           says what went wrong and exits non-zero

set -euo pipefail
# shellcheck source=../e2e/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/xvfb.sh"

: "${WINEPREFIX:?WINEPREFIX must name the prefix the tests share}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop_session() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
}

start_session() {
    start_xvfb
    trap stop_session EXIT
    trap 'exit 143' TERM  # a ctest timeout: clean up all the same
    trap 'exit 130' INT
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

wait_for_window() {
    local id
    id=$(timeout 30 xdotool search --sync --name "$1" | head -n 1) || true
    [ -n "$id" ] || fail "no window titled like '$1' appeared"
    echo "$id"
}

focus() {
    xdotool windowfocus --sync "$1"
    sleep 0.5
}

wait_for_no_window() {
    local deadline=$((SECONDS + 10))
    while xdotool search --name "$1" >/dev/null; do
        ((SECONDS < deadline)) || fail "the window titled like '$1' stayed open"
        sleep 0.2
    done
}

pointer_column() { xdotool getmouselocation --shell | sed -n 's/^X=//p'; }
pointer_row() { xdotool getmouselocation --shell | sed -n 's/^Y=//p'; }
