# Under Wine with a tray on the display: the icon docks; a second start shows
# the hidden first window and leaves; Exit in the icon's menu ends the program.
source "$(dirname "$0")/wine.sh"
TRAY_MANAGER=$2 HIDE_WINDOW=$3

# within SECONDS MESSAGE CONDITION: fails with MESSAGE unless CONDITION holds in time.
within() {
    for ((tries = $1 * 10; tries > 0; tries--)); do eval "$3" && return; sleep 0.1; done
    fail "$2"
}
shown() { [ -n "$(xdotool search --onlyvisible --name '^Nudgewick 1\.0$' 2>/dev/null)" ]; }
menu_open() { [ "$(xdotool search --onlyvisible --class nudgewick 2>/dev/null | wc -l)" -gt 1 ]; }

start_session
"$TRAY_MANAGER" >"$SCRATCH/docked" &
TRAY_PID=$!
at_exit 'stop_pid TRAY_PID'
start_program 3000 5
within 10 "the icon did not dock in the tray" '[ -s "$SCRATCH/docked" ]'

wine "$HIDE_WINDOW" || fail "the window could not be hidden"
within 5 "the window did not hide" '! shown'
timeout 30 wine "$PROGRAM" 3000 5 2>"$SCRATCH/err" || fail "a second start gave status $?"
grep -qx 'Nudgewick is already running' "$SCRATCH/err" || fail "a second start printed: $(<"$SCRATCH/err")"
within 5 "the hidden window did not come back for a second start" shown
[ "$(windows '^Nudgewick 1\.0$' | wc -l)" = 1 ] || fail "a second window opened"

# Exit is the menu's last entry; Wine gives the keys to our focused window.
focus "$WID"
eval "$(xdotool getwindowgeometry --shell "$(head -n 1 "$SCRATCH/docked")")"
xdotool mousemove --sync $((X + 4)) $((Y + 4)) click 3
within 5 "a right click on the icon opened no menu" menu_open
xdotool key Up Return
within 5 "Exit in the icon's menu left the program running" '! kill -0 "$APP_PID" 2>/dev/null'
wait "$APP_PID" || fail "Exit in the icon's menu ended the program with status $?"
echo PASS
