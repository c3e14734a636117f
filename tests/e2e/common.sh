# Sourced by the end-to-end tests, which CTest runs as
#   bash TEST.sh PROGRAM X_HELPER ADDRESS
# Control positions are in twips, as in window/layout.h; the X server has no
# Xft.dpi, so the window is laid out at 96 dpi, 15 twips a pixel.
set -euo pipefail
PROGRAM=$1 X_HELPER=$2 ADDRESS=$3
PROGRAM_ENV=()  # extra NAME=VALUE settings for the program only
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }

stop_program() {
    if [ -n "${APP_PID:-}" ]; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
        APP_PID=
    fi
}

start_display() {
    start_xvfb
    trap 'stop_program; stop_xvfb' EXIT
}

# Starts the program with the given arguments; sets APP_PID and WID.
start_program() {
    env "${PROGRAM_ENV[@]}" "$PROGRAM" "$@" &
    APP_PID=$!
    WID=$(timeout 10 xdotool search --sync --name '^Nudgewick 1\.0$' | head -n 1) || fail "no window appeared"
}

# Waits up to 5 s for the program to end; sets APP_STATUS.
wait_for_exit() {
    for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$APP_PID" 2>/dev/null && fail "the program is still running"
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=
}

# Presses the mouse button on the middle of a control given in twips.
click_control() {
    local left=$1 top=$2 width=$3 height=$4 x y
    read -r x y < <(xwininfo -id "$WID" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}')
    xdotool mousemove --sync $((x + (left + width / 2) / 15)) $((y + (top + height / 2) / 15)) click 1
}

# The text of the focused box, through the clipboard (Ctrl+A, Ctrl+C).
focused_box_text() {
    xdotool key ctrl+a ctrl+c
    "$X_HELPER" clipboard
}

message_window() { xdotool search --name '^Nudgewick$' 2>/dev/null | head -n 1; }

expect_no_message() { [ -z "$(message_window)" ] || fail "a message appeared: $1"; }

# Dismisses the message box with Enter once it appears.
dismiss_message() {
    local message
    message=$(timeout 5 xdotool search --sync --name '^Nudgewick$' | head -n 1) || fail "no message appeared: $1"
    xdotool windowfocus --sync "$message" key Return
    for _ in $(seq 30); do [ -z "$(message_window)" ] && return; sleep 0.1; done
    fail "the message stayed open"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Prints "MS X Y" for where the pointer is at first and after each move, for
# at most SECONDS or until MOVES moves were seen.
track_pointer() {
    local seconds=$1 moves=${2:-1000} start now where last="" seen=-1
    start=$(now_ms)
    while now=$(now_ms); ((now - start < seconds * 1000 && seen < moves)); do
        where=$(xdotool getmouselocation | awk -F'[: ]' '{print $2, $4}')
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
          if (NR > 2 && ($1 - last < gap - 600 || $1 - last > gap + 600)) { print "move " NR - 1 ": " $1 - last " ms apart"; bad = 1 }
          last = $1 }
        END { if (NR - 1 < moves) { print NR - 1 " moves, want " moves; bad = 1 }; exit bad }' <<<"$track" ||
        fail "the pointer did not swing as expected:"$'\n'"$track"
}
