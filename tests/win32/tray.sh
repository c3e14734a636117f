# Under Wine with a tray on the display: the icon docks and --minimized starts behind it, hidden; a
# second start shows the window and leaves; an 8 s session stops the ticks; the menu's Go and Stop
# flip the button's caption and the icon's look, and its Exit ends the program. With none running, --go starts a
# copy, which a second start hides with a session; a start right after --quit runs, ten times in a row.
source "$(dirname "$0")/wine.sh"
TRAY=$2 WINDOW_STATE=$3

state() {  # "shown|minimized|hidden CAPTION colour|grey": the window, its button and the icon
    local grey && grey=$(convert x:"$ICON" -colorspace HSL -format '%[fx:mean.g < 0.05]' info:)  # saturation
    echo "$(wine "$WINDOW_STATE" | tr -d '\r') $( ((grey)) && echo grey || echo colour)"
}
# expect SECONDS STATE WHAT: fails, saying WHAT, unless the state is STATE in time.
expect() {
    local seen end=$((SECONDS + $1))
    while seen=$(state) && [ "$seen" != "$2" ]; do ((SECONDS < end)) || fail "$3: $seen, not $2"; sleep 0.2; done
}
# choose KEY: a right click on the icon, then Return on the entry KEY selects (Down: the first, Up: the last).
# Wine takes the click only after the pointer came onto the icon.
choose() {
    xdotool mousemove --sync $((X + 40)) $((Y + 4)) mousemove --sync $((X + 4)) $((Y + 4)) click 3
    wait_until "a right click opened no menu" '(($(xdotool search --onlyvisible --class nudgewick | wc -l) > 1))'
    xdotool key "$1" Return
}

start_session
start_tray argb
wine "$PROGRAM" --minimized --for 8s 3000 5 & APP_PID=$!
ICON=$(docked_icon)
expect 5 "hidden Stop colour" "--minimized with a tray"

timeout 30 wine "$PROGRAM" 2>"$SCRATCH/err" || fail "a second start gave status $?"
grep -qx 'Nudgewick is already running' "$SCRATCH/err" || fail "a second start printed: $(<"$SCRATCH/err")"
WID=$(wait_for_window "$MAIN_WINDOW")
[ "$(windows "$MAIN_WINDOW" | wc -l)" = 1 ] || fail "a second window opened"
expect 15 "shown Go grey" "the 8 s session's end"

# Wine gives the keys to our focused window.
focus "$WID"
eval "$(xdotool getwindowgeometry --shell "$ICON")"
choose Down
expect 5 "shown Stop colour" "Go in the icon's menu"
choose Down
expect 5 "shown Go grey" "Stop in the icon's menu"
choose Up
wait_for_exit 0 "on Exit in the icon's menu"

wine "$PROGRAM" --go & APP_PID=$!
wait_until "the icon of the copy that --go started did not dock" '(($(wc -l <"$SCRATCH/tray") > 1))'
ICON=$(tail -n 1 "$SCRATCH/tray")
expect 10 "shown Stop colour" "a start with --go"
wine "$PROGRAM" --minimized --for 1m >/dev/null
expect 5 "hidden Stop colour" "--minimized --for 1m from a second start"
[[ $(wine "$PROGRAM" --status | tr -d '\r') =~ [0-9]{2}:[0-9]{2}$ ]] || fail "--status names no end of the session"
expect_start_after_quit
wine "$PROGRAM" --quit >/dev/null && wait_for_exit 0 "on --quit"
echo PASS
