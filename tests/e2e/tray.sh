# The notification-area icon in the test's tray manager and in two real panels, xfce4-panel and trayer.
source "$(dirname "$0")/common.sh"
unset DBUS_SESSION_BUS_ADDRESS  # no StatusNotifierItem: the XEmbed icon, in every tray here
start_xvfb
at_exit 'stop_pid PANEL_PID; stop_pid SETTINGS_PID; stop_pid BUS_PID'

# Mapped top-level windows without a name: a menu, or a stray icon. The root comes first.
nameless() { xdotool search --onlyvisible --maxdepth 1 --name '^$' | sed 1d; }
geometry() { xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | sed "s/^/${2:-}/"; }
# work_area TOP BOTTOM: the rows a window manager leaves to windows, the panel's excluded.
work_area() { AREA=($1 $2) && xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0,$1,1024,$(($2 - $1))"; }
work_area 0 730  # the test tray's panel starts at row 730
# margins MENU WIDTH HEIGHT: the columns between the menu's 2 px border and what is drawn inside it, on the left and on the right.
margins() {
    import -window "$1" -colorspace gray -depth 8 gray:- | od -An -v -tu1 -w"$2" | awk -v w="$2" -v h="$3" '
        NR > 3 && NR <= h - 3 { for (x = 3; x < w - 3; ++x) if ($(x + 1) < 160) { if (!l || x < l) l = x; if (x > r) r = x } }
        END { print l - 2, w - 3 - r }'
}
# Clicks entry N of the COUNT (seven unless given) in the menu that popped up for the icon ICON, once the menu proved
# to be in the work area, beside the icon (above or below, less than 12 px away, in its columns), with as much room
# on the right of its longest entry as on the left, and still where it opened with the pointer on the entry.
pick() {
    local X Y WIDTH HEIGHT ICON_X ICON_Y ICON_WIDTH ICON_HEIGHT opened left right count=${2:-7}
    wait_until "no menu popped up" '[ -n "$(nameless)" ]'
    opened=$(geometry "$(nameless)") && eval "$opened" && eval "$(geometry "$ICON" ICON_)"
    ((X >= 0 && X + WIDTH <= 1024 && Y >= AREA[0] && Y + HEIGHT <= AREA[1])) ||
        fail "the menu at ${WIDTH}x$HEIGHT+$X+$Y is not inside the rows ${AREA[*]}"
    local above=$((ICON_Y - Y - HEIGHT)) below=$((Y - ICON_Y - ICON_HEIGHT))
    (((above >= 0 && above < 12 || below >= 0 && below < 12) && X < ICON_X + ICON_WIDTH && X + WIDTH > ICON_X)) ||
        fail "the menu at ${WIDTH}x$HEIGHT+$X+$Y is not beside the icon at ${ICON_WIDTH}x$ICON_HEIGHT+$ICON_X+$ICON_Y"
    read -r left right < <(margins "$(nameless)" "$WIDTH" "$HEIGHT")
    ((right >= left - 1 && right <= left + 1)) || fail "the menu's entries keep $left px on the left, $right on the right"
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * $1 - 1) / (2 * count))) && sleep 0.3
    [ "$(geometry "$(nameless)")" = "$opened" ] || fail "the menu moved as the pointer went to entry $1"
    xdotool click 1
}

# Two copies at once, no tray yet: one window; the other copy ends with 0. Their menu has a tick box entry.
"$PROGRAM" --hours 09:00-17:00 " " 2>>"$SCRATCH/errors" & APP_PID=$!
"$PROGRAM" --hours 09:00-17:00 " " 2>>"$SCRATCH/errors" & OTHER_PID=$!
WID=$(wait_for_window "$MAIN_WINDOW")
wait -n -p ENDED "$APP_PID" "$OTHER_PID" || fail "a copy started beside another ended with status $?"
[ "$ENDED" != "$APP_PID" ] || APP_PID=$OTHER_PID
# xdotool lists nothing when a window it looks at goes away meanwhile, as the second copy's do: it looks again.
shown_windows() { for _ in {1..10}; do xdotool search --onlyvisible --name "$MAIN_WINDOW" 2>/dev/null && return; sleep 0.1; done; }
[ "$(shown_windows | wc -l)" = 1 ] || fail "two copies opened windows, or none: $(shown_windows | wc -l) shown"
[ -z "$(nameless)" ] || fail "a window appeared without a tray"

start_tray && ICON=$(docked_icon)
stop_pid TRAY_PID
wait_until "the icon's window outlived the tray" '! xwininfo -id "$ICON" >/dev/null 2>&1'
[ -z "$(nameless)" ] || fail "the icon was left as a window of its own"

start_tray argb && ICON=$(docked_icon)
xdotool windowunmap --sync "$WID" mousemove --window "$ICON" 12 12 click 1
wait_until "a click on the icon did not show the window" 'viewable "$WID"'
xdotool windowunmap --sync "$WID" mousemove --window "$ICON" 12 12 click 3
pick 7 8
wait_until "the menu's Show window did not show the window" 'viewable "$WID"'

xdotool windowunmap --sync "$WID"
script -qec "$PROGRAM" /dev/null >"$SCRATCH/second" || fail "a second start ended with status $?"
[ -s "$SCRATCH/second" ] || fail "a second start said nothing on the terminal"
wait_until "a second start did not show the window" 'viewable "$WID"'
[ "$(shown_windows | wc -l)" = 1 ] || fail "a second start opened a window"

xdotool windowfocus --sync "$ICON" key Menu
pick 8 8
wait_for_exit 0 "on the menu's Exit"

# --minimized while the tray holds the icon out of sight: the window comes up iconified.
start_tray park
"$PROGRAM" --minimized 2>>"$SCRATCH/errors" & APP_PID=$!
ICON=$(docked_icon)
WID=$(wait_for_window "$MAIN_WINDOW")
xprop -id "$WID" WM_HINTS | grep -q Iconic || fail "--minimized left nothing but an icon out of sight"
stop_pid APP_PID

# Hidden in the tray for an 8 s session at 3000 ms: the first tick notes the
# pointer, the second nudges it, the session's end comes before the third.
start_tray
xdotool mousemove --sync 600 500
"$PROGRAM" --minimized --for 8s 3000 5 2>>"$SCRATCH/errors" & APP_PID=$!
ICON=$(docked_icon)
track=$(track_pointer 13)
[ "$(wc -l <<<"$track")" = 2 ] || fail "not one nudge in an 8 s session, then none:"$'\n'"$track"
[ -z "$(windows "$MAIN_WINDOW")" ] || fail "--minimized showed the window though the icon is in a tray"
stop_pid TRAY_PID
WID=$(wait_for_window "$MAIN_WINDOW")
xprop -id "$WID" WM_HINTS | grep -q Iconic || fail "the hidden window came back, but not iconified, as the tray went"

# The menu's Stop/Go: the ticks, the button's caption (Go now) and the icon's look.
start_tray && ICON=$(docked_icon)
looks() { button_look && import -window "$ICON" rgb:- | md5sum; }
stop_or_go() { xdotool mousemove --window "$ICON" 12 12 click 3 && pick 1 && xdotool mousemove --sync 605 500; }
stopped=$(looks)
stop_or_go
expect_swing "$(track_pointer 8 2)" 605 500 -5 2 3000
[ "$(looks | grep -cxFf <(echo "$stopped"))" = 0 ] || fail "Go from the menu left the caption or the icon as stopped"
stop_or_go
expect_still 4
[ "$(looks)" = "$stopped" ] || fail "Stop from the menu did not bring back the caption Go and the stopped icon"
stop_pid APP_PID

# The pointer rests on the icon while a command stops the nudges: the tooltip up changes with them.
start_tray
"$PROGRAM" --minimized 30000 5 2>>"$SCRATCH/errors" & APP_PID=$!
ICON=$(docked_icon)
xdotool mousemove --window "$ICON" 12 12
# The tooltip's pixels, or a failure while none is up (an import without a window would wait for a click).
tip() {
    local id && id=$(nameless) && [ -n "$id" ] && import -window "$id" rgb:"$SCRATCH/tip" 2>/dev/null &&
        [ -s "$SCRATCH/tip" ] && md5sum <"$SCRATCH/tip"
}
wait_until "no tooltip over the icon" 'during=$(tip)'
"$PROGRAM" --stop >/dev/null || fail "--stop to the running copy ended with status $?"
wait_until "the tooltip up as the nudges stopped still told of them" 'now=$(tip) && [ "$now" != "$during" ]'
stop_pid APP_PID && stop_pid TRAY_PID

# Real panels as Debian packages them. The icon: on the screen, at a panel's size, drawn.
shown_icon() { for id in $(xdotool search --onlyvisible --classname '^nudgewick$'); do
    [ -n "$(xdotool getwindowname "$id")" ] || echo "$id"; done; }
panel_icon() {
    local ICON_X ICON_Y ICON_WIDTH ICON_HEIGHT
    wait_until "no icon shown in $1" '[ -n "$(shown_icon)" ]'
    ICON=$(shown_icon) && eval "$(geometry "$ICON" ICON_)"
    ((ICON_X >= 0 && ICON_Y >= 0 && ICON_X + ICON_WIDTH <= 1024 && ICON_Y + ICON_HEIGHT <= 768 &&
        ICON_WIDTH >= 16 && ICON_HEIGHT >= 16 && ICON_WIDTH <= 48 && ICON_HEIGHT <= 48)) ||
        fail "the icon in $1 is at ${ICON_WIDTH}x$ICON_HEIGHT+$ICON_X+$ICON_Y"
    local colours && colours=$(import -window root -crop "${ICON_WIDTH}x$ICON_HEIGHT+$ICON_X+$ICON_Y" -format %k info:)
    ((colours > 8)) || fail "the icon in $1 is not drawn: $colours colours"
}
exit_from_menu() { xdotool mousemove --window "$ICON" 8 8 click 3 && pick 7 && wait_for_exit 0 "on Exit from the menu in $1"; }

# xfce4-panel along the bottom, started with the program hidden; its settings come from xfconfd on a bus of its
# own, each started here with the test's folders.
panel_env=(HOME="$SCRATCH" XDG_CONFIG_HOME="$SCRATCH/config" XDG_CACHE_HOME="$SCRATCH/cache"
           XDG_DATA_HOME="$SCRATCH/data" NO_AT_BRIDGE=1 DBUS_SESSION_BUS_ADDRESS="unix:path=$SCRATCH/panel-bus")
mkdir -p "$SCRATCH/config/xfce4/xfconf/xfce-perchannel-xml"
cp "$(dirname "$0")/xfce4-panel.xml" "$SCRATCH/config/xfce4/xfconf/xfce-perchannel-xml/"
env "${panel_env[@]}" dbus-daemon --session --nofork --address="unix:path=$SCRATCH/panel-bus" 2>/dev/null & BUS_PID=$!
wait_until "the panel's bus did not start" '[ -S "$SCRATCH/panel-bus" ]'
settings=$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.xfce.Xfconf.service)
env "${panel_env[@]}" "$settings" 2>/dev/null & SETTINGS_PID=$!
env "${panel_env[@]}" xfce4-panel --disable-wm-check >/dev/null 2>&1 & PANEL_PID=$!
"$PROGRAM" --minimized 2>>"$SCRATCH/errors" & APP_PID=$!
panel_icon xfce4-panel
sleep 2.5  # as long as the window waits for the icon
[ -z "$(windows "$MAIN_WINDOW")" ] || fail "--minimized showed the window though the icon is in xfce4-panel"
eval "$(geometry "$(xdotool search --onlyvisible --class '^xfce4-panel$')" PANEL_)"
work_area 0 "$PANEL_Y"
exit_from_menu xfce4-panel
stop_pid PANEL_PID

# trayer at the top right, started after the program.
start_program " "
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 & PANEL_PID=$!
panel_icon trayer
work_area 24 768
exit_from_menu trayer
[ ! -s "$SCRATCH/errors" ] || fail "the program wrote:"$'\n'"$(cat "$SCRATCH/errors")"
echo PASS
