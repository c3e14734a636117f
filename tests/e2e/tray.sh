# The notification-area icon with a tray manager that starts after the
# program, goes away and comes back; and one copy of the program per display.
source "$(dirname "$0")/common.sh"
TRAY=$2
start_xvfb  # the tray manager ends with it

# wait_until MESSAGE CONDITION: fails with MESSAGE unless CONDITION holds within 10 s.
wait_until() { for _ in {1..100}; do eval "$2" && return; sleep 0.1; done; fail "$1"; }
# Mapped top-level windows without a name: a menu, or a stray icon. The root comes first.
nameless() { xdotool search --onlyvisible --maxdepth 1 --name '^$' | sed 1d; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
start_tray() { : >"$SCRATCH/tray"; "$TRAY" "$@" >"$SCRATCH/tray" & TRAY_PID=$!; }
docked_icon() { wait_until "no icon docked" '[ -s "$SCRATCH/tray" ]'; head -n 1 "$SCRATCH/tray"; }
pick() {  # clicks entry N of the two in the menu that popped up
    local X Y WIDTH HEIGHT && wait_until "no menu popped up" '[ -n "$(nameless)" ]'
    eval "$(xdotool getwindowgeometry --shell "$(nameless)" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * $1 - 1) / 4)) click 1
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
pick 1
wait_until "the menu's Show window did not show the window" 'viewable "$WID"'

xdotool windowunmap --sync "$WID"
script -qec "$PROGRAM" /dev/null >"$SCRATCH/second" || fail "a second start ended with status $?"
grep -q '^Nudgewick is already running' "$SCRATCH/second" || fail "a second start did not say so on the terminal"
wait_until "a second start did not show the window" 'viewable "$WID"'
[ "$(windows '^Nudgewick 1\.0$' | wc -l)" = 1 ] || fail "a second start opened a window"

xdotool windowfocus --sync "$ICON" key Menu
pick 2
wait_until "the menu's Exit did not end the program" '! kill -0 "$APP_PID" 2>/dev/null'
wait "$APP_PID" || fail "Exit ended the program with status $?"
APP_PID=
[ ! -s "$SCRATCH/errors" ] || fail "the program wrote:"$'\n'"$(cat "$SCRATCH/errors")"
echo PASS
