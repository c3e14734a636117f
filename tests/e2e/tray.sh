# The notification-area icon with a tray manager that starts after the
# program, goes away and comes back; one copy of the program per display; the
# icon's menu, a timed session and a start hidden in the tray.
source "$(dirname "$0")/common.sh"
TRAY=$2
start_xvfb
at_exit 'stop_pid TRAY_PID'

# wait_until MESSAGE CONDITION: fails with MESSAGE unless CONDITION holds within 10 s.
wait_until() { for _ in {1..100}; do eval "$2" && return; sleep 0.1; done; fail "$1"; }
# Mapped top-level windows without a name: a menu, or a stray icon. The root comes first.
nameless() { xdotool search --onlyvisible --maxdepth 1 --name '^$' | sed 1d; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
start_tray() { stop_pid TRAY_PID; : >"$SCRATCH/tray"; "$TRAY" "$@" >"$SCRATCH/tray" & TRAY_PID=$!; }
docked_icon() { wait_until "no icon docked" '[ -s "$SCRATCH/tray" ]'; head -n 1 "$SCRATCH/tray"; }
pick() {  # clicks entry N of the seven in the menu that popped up
    local X Y WIDTH HEIGHT && wait_until "no menu popped up" '[ -n "$(nameless)" ]'
    eval "$(xdotool getwindowgeometry --shell "$(nameless)" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * $1 - 1) / 14)) click 1
}

# Two copies at once, no tray yet: one window; the other copy ends with 0.
"$PROGRAM" " " 2>>"$SCRATCH/errors" & APP_PID=$!
"$PROGRAM" " " 2>>"$SCRATCH/errors" & OTHER_PID=$!
WID=$(wait_for_window '^Nudgewick 1\.0$')
wait -n -p ENDED "$APP_PID" "$OTHER_PID" || fail "a copy started beside another ended with status $?"
[ "$ENDED" != "$APP_PID" ] || APP_PID=$OTHER_PID
[ "$(windows '^Nudgewick 1\.0$' | wc -l)" = 1 ] || fail "two copies opened windows"
[ -z "$(nameless)" ] || fail "a window appeared without a tray"

start_tray
ICON=$(docked_icon)
stop_pid TRAY_PID
wait_until "the icon's window outlived the tray" '! xwininfo -id "$ICON" >/dev/null 2>&1'
[ -z "$(nameless)" ] || fail "the icon was left as a window of its own"

start_tray argb
ICON=$(docked_icon)
xdotool windowunmap --sync "$WID" mousemove --window "$ICON" 12 12 click 1
wait_until "a click on the icon did not show the window" 'viewable "$WID"'
xdotool windowunmap --sync "$WID" mousemove --window "$ICON" 12 12 click 3
pick 6
wait_until "the menu's Show window did not show the window" 'viewable "$WID"'

xdotool windowunmap --sync "$WID"
script -qec "$PROGRAM" /dev/null >"$SCRATCH/second" || fail "a second start ended with status $?"
grep -q '^Nudgewick is already running' "$SCRATCH/second" || fail "a second start did not say so on the terminal"
wait_until "a second start did not show the window" 'viewable "$WID"'
[ "$(windows '^Nudgewick 1\.0$' | wc -l)" = 1 ] || fail "a second start opened a window"

xdotool windowfocus --sync "$ICON" key Menu
pick 7
wait_until "the menu's Exit did not end the program" '! kill -0 "$APP_PID" 2>/dev/null'
wait "$APP_PID" || fail "Exit ended the program with status $?"

# Hidden in the tray for an 8 s session at 3000 ms: the first tick notes the
# pointer, the second nudges it, the session's end comes before the third.
start_tray
xdotool mousemove --sync 600 500
"$PROGRAM" --minimized --for 8s 3000 5 2>>"$SCRATCH/errors" & APP_PID=$!
ICON=$(docked_icon)
track=$(track_pointer 13)
[ "$(wc -l <<<"$track")" = 2 ] || fail "not one nudge in an 8 s session, then none:"$'\n'"$track"
[ -z "$(windows '^Nudgewick 1\.0$')" ] || fail "--minimized showed the window though the icon is in a tray"
stop_pid TRAY_PID
WID=$(wait_for_window '^Nudgewick 1\.0$')
xprop -id "$WID" WM_HINTS | grep -q Iconic || fail "the hidden window came back, but not iconified, as the tray went"

# The menu's Stop/Go: the ticks, the button's caption (Go now) and the icon's look.
start_tray && ICON=$(docked_icon)
looks() { import -window "$WID" -crop 65x41+208+144 rgb:- | md5sum && import -window "$ICON" rgb:- | md5sum; }
stop_or_go() { xdotool mousemove --window "$ICON" 12 12 click 3 && pick 1 && xdotool mousemove --sync 605 500; }
stopped=$(looks)
stop_or_go
expect_swing "$(track_pointer 8 2)" 605 500 -5 2 3000
[ "$(looks | grep -cxFf <(echo "$stopped"))" = 0 ] || fail "Go from the menu left the caption or the icon as stopped"
stop_or_go
expect_still 4
[ "$(looks)" = "$stopped" ] || fail "Stop from the menu did not bring back the caption Go and the stopped icon"
[ ! -s "$SCRATCH/errors" ] || fail "the program wrote:"$'\n'"$(cat "$SCRATCH/errors")"
echo PASS
