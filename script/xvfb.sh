# Sourced by script/run, script/bench, script/screenshots and the end-to-end
# tests: strict mode, clean-up on exit, a private X server and the pointer on
# it, and a private session bus.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# What the build says of the program (facts.sh, from packaging/facts.cpp): its name, title, window classes and
# layout. The tests' CMake files name the file of their build tree; the scripts use the release build's.
NUDGEWICK_FACTS=${NUDGEWICK_FACTS:-$(dirname "${BASH_SOURCE[0]}")/../build/linux-release/facts.sh}
if [ -f "$NUDGEWICK_FACTS" ]; then
    source "$NUDGEWICK_FACTS"
    # xdotool --name patterns: the main window, and a message box, which is titled with the name alone.
    MAIN_WINDOW="^${NUDGEWICK_TITLE//./\\.}\$" MESSAGE_WINDOW="^$NUDGEWICK_NAME\$"
fi

# at_exit COMMAND runs COMMAND on exit, before the commands added earlier: on
# success, failure, INT, TERM or HUP. A ctest timeout kills the whole process tree.
EXIT_STEPS=()
at_exit() { EXIT_STEPS=("$1" "${EXIT_STEPS[@]}"); }
trap 'for step in "${EXIT_STEPS[@]}"; do eval "$step" || true; done' EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP
SCRATCH=$(mktemp -d)
at_exit 'rm -rf "$SCRATCH"'

# stop_pid NAME stops the process whose PID the variable NAME holds, if any.
# A process already gone is not waited for: in a trap that cut a wait short,
# bash would wait for any other child instead.
stop_pid() {
    [ -n "${!1:-}" ] || return 0
    if kill "${!1}" 2>/dev/null; then wait "${!1}" 2>/dev/null || true; fi
    printf -v "$1" ''
}

# Starts Xvfb on a free display, with any extra arguments, and exports DISPLAY.
# -noreset keeps the pointer where it is when the last client disconnects. In
# a session of its own, a Ctrl+C in the terminal does not reach it: it stays
# until the program on it has ended.
start_xvfb() {
    local display=
    mkfifo "$SCRATCH/displayfd"
    setsid Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 "$@" 3>"$SCRATCH/displayfd" 2>/dev/null &
    XVFB_PID=$!
    at_exit 'stop_pid XVFB_PID'
    at_exit 'stop_pid APP_PID'
    read -r -t 10 display <"$SCRATCH/displayfd" || true
    rm "$SCRATCH/displayfd"
    [ -n "$display" ] || fail "Xvfb did not start"
    export DISPLAY=":$display"
}

pointer() { xdotool getmouselocation | awk -F'[: ]' '{print $2, $4}'; }

PROGRAM_ENV=()  # NAME=VALUE settings for the program only
RUN_WITH=()     # what runs the program, if it does not run by itself

# Starts the program with the given arguments and waits for its window (titled
# like TITLE_PATTERN when a test sets it); sets APP_PID and WID.
start_program() {
    env "${PROGRAM_ENV[@]}" "${RUN_WITH[@]}" "$PROGRAM" "$@" &
    APP_PID=$!
    WID=$(wait_for_window "${TITLE_PATTERN:-${MAIN_WINDOW:?no $NUDGEWICK_FACTS: build the program first}}")
}

windows() { xdotool search --name "$1" 2>/dev/null || true; }

# Prints the id of the first shown window titled like REGEX, waiting up to
# 30 s. Wine names a window before it sizes and maps it.
wait_for_window() {
    local id= deadline=$((SECONDS + 30))
    # xdotool ends on an X error when a window it looks at goes away meanwhile: it looks again.
    while [ -z "$id" ] && ((SECONDS < deadline)); do
        id=$(timeout $((deadline - SECONDS)) xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
            true
        [ -n "$id" ] || sleep 0.1
    done
    [ -n "$id" ] || fail "no window titled like '$1' appeared"
    echo "$id"
}

# Starts a private session bus (D-Bus) and exports its address; stopped by PID at exit.
start_session_bus() {
    mkfifo "$SCRATCH/bus"
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$SCRATCH/bus" 2>/dev/null &
    BUS_PID=$!
    at_exit 'stop_pid BUS_PID'
    read -r -t 10 DBUS_SESSION_BUS_ADDRESS <"$SCRATCH/bus" || true
    rm "$SCRATCH/bus"
    [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS
}
