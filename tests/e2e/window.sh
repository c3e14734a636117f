# The window's look, its focus order and a blank command line: boxes at 0,
# and no tick until an interval is entered.
source "$(dirname "$0")/common.sh"
start_display

expect_size() {
    local size
    size=$(xwininfo -id "$WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    [ "$size" = "$1" ] || fail "window is $size, want $1"
}

# 1440 twips an inch: 4125 x 2925 twips at 144 dpi are 412.5 x 292.5 pixels.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi: 144'
start_program "  "
expect_size 413x293
stop_program
xprop -root -remove RESOURCE_MANAGER

xdotool mousemove --sync 600 500
start_program "  "
[ "$(xdotool getwindowname "$WID")" = "Nudgewick 1.0" ] || fail "wrong title"
expect_size 275x195

# No window manager here: the window gets the keyboard only when given it.
xdotool windowfocus --sync "$WID"
xdotool key Tab  # button -> pixels
[ "$(focused_box_text)" = 0 ] || fail "the pixels box does not read 0"
xdotool type 7
xdotool key Tab  # pixels -> interval; the distance is now 7
[ "$(focused_box_text)" = 0 ] || fail "the interval box does not read 0"
expect_still 4
xdotool type 4000
xdotool key shift+Tab  # interval -> pixels: the ticks start
expect_no_message "after a valid interval"
expect_swing "$(track_pointer 14 2)" 600 500 7 2 4000
echo PASS
