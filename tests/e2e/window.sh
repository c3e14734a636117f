# The window and its controls (fit.sh checks its size); X errors caused by others do not end the program.
source "$(dirname "$0")/common.sh"
start_xvfb

link_look() { import -window "$WID" -crop 249x17+16+24 rgb:- | md5sum; }  # 240 360 3735 255 in twips

# What a window manager that died leaves behind: reading the window it names fails.
xprop -root -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK 0x5555555
xdotool mousemove --sync 600 500
start_program "  "
check=$("$PROGRAM" --check) && grep -q '^route: XTEST' <<<"$check" || fail "--check on X11 printed: $check"
unfocused_link=$(link_look)
class=$(xprop -id "$WID" WM_CLASS) && [ "$class" = "WM_CLASS(STRING) = \"$NUDGEWICK_X11_NAME\", \"${NUDGEWICK_X11_NAME^}\"" ] ||
    fail "the window's class is $class"

# No window manager here: the window gets the keyboard only when given it.
focus "$WID"
xdotool key Tab  # button -> pixels
[ "$(focused_box_text)" = 0 ] || fail "the pixels box does not read 0"
# The input method opens after the first draw, with the pointer never in the window: dead keys compose.
xdotool key dead_acute e
[ "$(focused_box_text)" = é ] || fail "a dead key and e typed $(focused_box_text), not é"
"$X_HELPER" vanish CLIPBOARD UTF8_STRING  # asks the program for the copied text and is gone before the answer
xdotool type 7
xdotool key Tab  # pixels -> interval; the distance is now 7
[ "$(focused_box_text)" = 0 ] || fail "the interval box does not read 0"
# The box's font: its text starts 5 px in, and at 11 px a digit is 6 px wide
# (at 8 px, 4): a click 41 px in lands after the sixth of ten digits.
xdotool type 1111111111
click_control INTERVAL_BOX 41
xdotool type x
[[ $(focused_box_text) =~ ^1{6}x ]] || fail "the box's text is smaller than 11 px: $(focused_box_text)"
xdotool mousemove --sync 600 500
expect_still 4

xdotool type 2500
xdotool key Return
sleep 0.5
expect_no_message "after Enter"
xdotool key Escape
sleep 0.5
kill -0 "$APP_PID" && xdotool getwindowname "$WID" >/dev/null || fail "Escape closed the window"
[ "$(focused_box_text)" = 2500 ] || fail "Enter moved the focus or changed the box"
unfocus
sleep 0.5
expect_no_message "when the window lost the focus"

focus "$WID"
xdotool key Tab  # interval -> link
dismiss_message "on leaving the box with 2500"
focus "$WID"
xdotool key shift+Tab  # the focus went on to the link, and comes back
[ "$(focused_box_text)" = 3000 ] || fail "the interval box does not read 3000"
# The first tick only notes where the pointer is; the next ones nudge it.
expect_swing "$(track_pointer 16 3)" 600 500 7 3 3000

# The button stops the ticks. An interval typed while stopped resumes them
# when the click on the button takes the focus, and the click stops them.
click_control BUTTON  # the start/stop button: Stop
read -r x y < <(pointer)
expect_still 7
xdotool key shift+Tab shift+Tab  # button -> link -> interval, its text selected
xdotool type 4000
[ "$(link_look)" = "$unfocused_link" ] || fail "the link's focus rectangle stayed after Tab moved on"
xdotool click 1
expect_still 9
xdotool key Return  # Enter on the focused button: Go, at the interval the box took; the fourth nudge goes left
expect_swing "$(track_pointer 14 2)" "$x" "$y" -7 2 4000

# A click that leaves a refused value opens the message inside the press: the
# click is lost (the caption stays), and the button must not look pressed.
before=$(button_look)
xdotool key shift+Tab shift+Tab
xdotool type 2500
xdotool click 1
dismiss_message "on clicking the button with 2500 in the box"
focus "$WID"
[ "$(button_look)" = "$before" ] || fail "after the message the button looks pressed, or the click went through"

xdotool key shift+Tab shift+Tab
xdotool type 2500
close_window
echo PASS
