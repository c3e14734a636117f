# The notification-area icon as a StatusNotifierItem, on a private session bus where sni_host.py plays the
# desktop's watcher and panel.
#   bash sni.sh PROGRAM X_HELPER ADDRESS TRAY_MANAGER ICON_48_PNG
source "$(dirname "$0")/common.sh"
PNG=$5 HOST=("/usr/bin/python3" "$(dirname "$0")/sni_host.py")
start_xvfb
start_session_bus
at_exit 'stop_pid WATCHER_PID'

start_watcher() {
    stop_pid WATCHER_PID
    : >"$SCRATCH/watcher"  # appended to: the test empties it meanwhile
    "${HOST[@]}" watcher "$@" >>"$SCRATCH/watcher" & WATCHER_PID=$!
    wait_until "the watcher did not start" 'grep -q watching "$SCRATCH/watcher"'
}
registered() { wait_until "$1" 'grep -q "^registered" "$SCRATCH/watcher"'; awk '/^registered/ {print $2}' "$SCRATCH/watcher"; }
heard() { local line=$2 && wait_until "$1" 'grep -qxF "$line" "$SCRATCH/watcher"'; }
host() { "${HOST[@]}" "$1" "$ITEM" "${@:2}"; }
prop() { host props | sed -n "s/^$1 //p"; }

# No watcher yet: the program starts as usual; a watcher that comes later gets the item.
xdotool mousemove --sync 605 500
"$PROGRAM" 3000 5 2>>"$SCRATCH/errors" & APP_PID=$!
WID=$(wait_for_window "$MAIN_WINDOW")
start_watcher
ITEM=$(registered "no registration with a watcher that started after the program")
[[ $ITEM == org.kde.StatusNotifierItem-$APP_PID-* ]] || fail "registered as '$ITEM'"

# Running: the installed icon by name, a pixmap of each size, the tooltip; the 48 px pixels against the installed
# icon's (colours not premultiplied).
[ -n "$(prop IconName)" ] && [ "$(prop Sizes)" = "16x16 22x22 24x24 32x32 48x48" ] &&
    [ "$(prop ToolTip)" = "Nudgewick: nudging every 3 s" ] || fail "running, the item shows:"$'\n'"$(host props)"
convert "$PNG" rgba:"$SCRATCH/48.rgba"
[ "$(host pixmap 48 "$SCRATCH/48.rgba")" = 0 ] || fail "the 48 px pixmap is not the icon's picture"
[ "$(host layout | tr '\n' '|')" = "Stop|Run for 30 minutes|Run for 1 hour|Run for 2 hours|Run until stopped|Show window|Exit|" ] ||
    fail "the menu reads:"$'\n'"$(host layout)"

# Stop, then Go, from the menu: the real pointer, the announcements, and what the panel fetches anew.
: >"$SCRATCH/watcher"
host click 1
heard "no LayoutUpdated with Go after Stop" "LayoutUpdated Go"
grep -qx NewIcon "$SCRATCH/watcher" || fail "no NewIcon after Stop"
xdotool mousemove 605 500 sleep 0.2  # not --sync: that waits for a move, and the pointer may be there already
expect_still 4
[ "$(prop ToolTip)|$(prop IconName)" = "Nudgewick: stopped|" ] || fail "stopped, the item shows $(host props)"
host click 1
heard "no LayoutUpdated with Stop after Go" "LayoutUpdated Stop"
# The first nudge, right or left as the ones before left it, comes at the second tick when no tick ran
# before Stop to note where the pointer was.
track=$(track_pointer 11 2)
awk 'NR == 1 && $2 == 605 || NR == 2 && ($2 == 600 || $2 == 610) || NR == 3 && $2 == 605 { if ($3 == 500) ok++ }
     END { exit ok != 3 }' <<<"$track" || fail "Go from the menu did not resume the nudges:"$'\n'"$track"

# A second start's commands: --toggle stops and resumes the nudges, --for 1m resumes them for a session the tooltip
# names; --status says which in the tooltip's words, after "3 " (its exit status) while stopped. The pointer's part
# of Stop and Go is the menu's above.
status() {
    local answer && answer=$("$PROGRAM" --status) || answer="$? $answer"
    [ "$answer" = "$1$(prop ToolTip | sed 's/^Nudgewick: //')" ] || fail "--status: '$answer', $(host props)"
}
for want in "3 " "" "3 "; do "$PROGRAM" --toggle >/dev/null && status "$want"; done
until=$(date +%H:%M -d '1 min')
"$PROGRAM" --for 1m >/dev/null
[[ $(prop ToolTip) =~ until\ ($until|$(date +%H:%M -d '1 min'))$ ]] || fail "--for 1m: the tooltip reads $(prop ToolTip)"
[ "$(track_pointer 9 2 | wc -l)" = 3 ] || fail "--for 1m did not resume the nudges"
status ""

# The watcher restarts: the item registers again. Beside an XEmbed tray it stays out of the tray while
# a watcher has it, moves into the tray when the watcher goes, stays there while a new watcher has no
# panel to draw the item, and leaves it once a panel comes.
start_watcher
registered "no registration again after the watcher restarted" >/dev/null
start_tray
sleep 1.5
docked && fail "an XEmbed icon docked while a watcher holds the item"
stop_pid WATCHER_PID
ICON=$(docked_icon "once the watcher went")
start_watcher nohost
registered "no registration with a watcher that came back beside the tray" >/dev/null
sleep 1
xwininfo -id "$ICON" >/dev/null 2>&1 || fail "the XEmbed icon left the tray for a watcher without a panel"
"${HOST[@]}" host
wait_until "the XEmbed icon stayed beside the item a panel draws" '! xwininfo -id "$ICON" >/dev/null 2>&1'
stop_pid TRAY_PID

# Exit from the menu ends the program.
host click 7
wait_for_exit 0 "on Exit from the menu"

# Started hidden while a watcher runs: no window, until the panel's click.
: >"$SCRATCH/watcher"
"$PROGRAM" --minimized 2>>"$SCRATCH/errors" & APP_PID=$!
ITEM=$(registered "no registration at a start hidden")
sleep 3  # past the time a tray is given to take the icon
[ -z "$(windows "$MAIN_WINDOW")" ] || fail "--minimized showed the window though a watcher has the item"
host activate
WID=$(wait_for_window "$MAIN_WINDOW")
xprop -id "$WID" WM_HINTS | grep -q Iconic && fail "Activate showed the window iconified"

# The session bus ends: the icon goes into the XEmbed tray, and the program goes on, idle.
start_tray
stop_pid BUS_PID
wait_until "no XEmbed icon once the session bus went" docked
cpu() { awk '{print $14 + $15}' "/proc/$APP_PID/stat"; }
before=$(cpu) && sleep 2
(($(cpu) - before < 20)) || fail "busy after the session bus went: $(($(cpu) - before)) CPU ticks in 2 s"

# --quit ends the copy; with none running --go starts one.
quit_program
"$PROGRAM" --go 2>>"$SCRATCH/errors" & APP_PID=$!
wait_for_window "$MAIN_WINDOW" >/dev/null
"$PROGRAM" --status >/dev/null || fail "--go without a copy started none that nudges"
expect_start_after_quit
[ ! -s "$SCRATCH/errors" ] || fail "the program wrote:"$'\n'"$(cat "$SCRATCH/errors")"
echo PASS
