# Sourced by every end-to-end script, Linux and Wine, and by script/run and
# script/bench: strict mode, clean-up on exit, a private X server, and the
# program's window and the pointer on it.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# at_exit COMMAND runs COMMAND on exit, before the commands added earlier: on
# success, failure, INT or TERM. A ctest timeout kills the whole process tree.
EXIT_STEPS=()
at_exit() { EXIT_STEPS=("$1" "${EXIT_STEPS[@]}"); }
trap 'for step in "${EXIT_STEPS[@]}"; do eval "$step" || true; done' EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
SCRATCH=$(mktemp -d)
at_exit 'rm -rf "$SCRATCH"'

# stop_pid NAME stops the process whose PID the variable NAME holds, if any.
stop_pid() {
    [ -n "${!1:-}" ] || return 0
    kill "${!1}" 2>/dev/null || true
    wait "${!1}" 2>/dev/null || true
    printf -v "$1" ''
}

# Starts Xvfb on a free display, with any extra arguments, and exports DISPLAY.
# -noreset keeps the pointer where it is when the last client disconnects.
start_xvfb() {
    local display=
    mkfifo "$SCRATCH/displayfd"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 "$@" 3>"$SCRATCH/displayfd" 2>/dev/null &
    XVFB_PID=$!
    at_exit 'stop_pid XVFB_PID'
    at_exit 'stop_pid APP_PID'
    read -r -t 10 display <"$SCRATCH/displayfd" || true
    rm "$SCRATCH/displayfd"
    [ -n "$display" ] || fail "Xvfb did not start"
    export DISPLAY=":$display"
}

PROGRAM_ENV=()  # NAME=VALUE settings for the program only
RUN_WITH=()     # what runs the program, if it does not run by itself

# Starts the program with the given arguments and waits for its window;
# sets APP_PID and WID.
start_program() {
    env "${PROGRAM_ENV[@]}" "${RUN_WITH[@]}" "$PROGRAM" "$@" &
    APP_PID=$!
    WID=$(wait_for_window '^Nudgewick 1\.0$')
}

windows() { xdotool search --name "$1" 2>/dev/null || true; }

# Prints the id of the first shown window titled like REGEX, waiting up to 30 s.
# Wine names a window before it sizes and maps it.
wait_for_window() {
    local id
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
    [ -n "$id" ] || fail "no window titled like '$1' appeared"
    echo "$id"
}

wait_for_no_window() {
    for _ in {1..50}; do [ -z "$(windows "$1")" ] && return; sleep 0.2; done
    fail "the window titled like '$1' stayed open"
}

focus() { xdotool windowfocus --sync "$1"; }

expect_no_message() { [ -z "$(windows '^Nudgewick$')" ] || fail "a message appeared $1"; }

# Answers the "Nudgewick" message box with Enter once it appears: dismiss_message WHEN
dismiss_message() {
    local message
    message=$(wait_for_window '^Nudgewick$') || fail "no message $1"
    focus "$message"
    xdotool key Return
    wait_for_no_window '^Nudgewick$'
}

pointer() { xdotool getmouselocation | awk -F'[: ]' '{print $2, $4}'; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Prints "MS X Y" for where the pointer is at first and after each move, for
# at most SECONDS or until MOVES moves were seen.
track_pointer() {
    local seconds=$1 moves=${2:-1000} start now where last="" seen=-1
    start=$(now_ms)
    while now=$(now_ms); ((now - start < seconds * 1000 && seen < moves)); do
        where=$(pointer)
        if [ "$where" != "$last" ]; then
            echo "$((now - start)) $where"
            last=$where
            seen=$((seen + 1))
        fi
        sleep 0.1
    done
}

expect_still() {
    local track
    track=$(track_pointer "$1")
    [ "$(wc -l <<<"$track")" -eq 1 ] || fail "the pointer moved:"$'\n'"$track"
}

# Fails unless the tracked pointer went from column X to X+DISTANCE and back
# on row Y, at least MOVES times, GAP milliseconds apart (give or take 600).
expect_swing() {
    local track=$1 x=$2 y=$3 distance=$4 moves=$5 gap=$6
    awk -v x="$x" -v y="$y" -v d="$distance" -v moves="$moves" -v gap="$gap" '
        { want = NR % 2 ? x : x + d
          if ($2 != want || $3 != y) { print "move " NR - 1 ": want " want " " y; bad = 1 }
          if (NR > 2 && ($1 - last < gap - 600 || $1 - last > gap + 600)) {
              print "move " NR - 1 ": " $1 - last " ms apart"; bad = 1 }
          last = $1 }
        END { if (NR - 1 < moves) { print NR - 1 " moves, want " moves; bad = 1 }; exit bad }' <<<"$track" ||
        fail "the pointer did not swing as expected:"$'\n'"$track"
}
