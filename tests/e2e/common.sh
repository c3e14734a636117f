# Sourced by the Linux end-to-end scripts, which CTest runs as
#   bash SCRIPT.sh PROGRAM X_HELPER ADDRESS
# Control positions are in twips, as in window/layout.h; the X server has no
# Xft.dpi, so the window is laid out at 96 dpi, 15 twips a pixel.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
PROGRAM=$1 X_HELPER=$2 ADDRESS=$3

# Waits up to 5 s for the program to end; sets APP_STATUS.
wait_for_exit() {
    for _ in {1..50}; do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$APP_PID" 2>/dev/null && fail "the program is still running"
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=
}

# Presses the mouse button on the middle of a control given in twips.
click_control() {
    local left=$1 top=$2 width=$3 height=$4 X Y
    eval "$(xdotool getwindowgeometry --shell "$WID" | grep -E '^[XY]=')"
    xdotool mousemove --sync $((X + (left + width / 2) / 15)) $((Y + (top + height / 2) / 15)) click 1
}

# The text of the focused box, through the clipboard (Ctrl+A, Ctrl+C).
focused_box_text() {
    xdotool key ctrl+a ctrl+c
    "$X_HELPER" clipboard
}

# FILE holds exactly one line, and it is not blank.
one_line() { [ "$(wc -l <"$1")" = 1 ] && [ "$(grep -c . "$1")" = 1 ]; }
