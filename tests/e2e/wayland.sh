# The Linux program in a headless Wayland session per compositor: its window on a private Xvfb, its nudges
# to the compositor, seen by an observer window that logs the pointer. Each compositor's extra cases are marked
# below; GNOME Shell runs its own remote-access indicator, which nothing here can click.
#   bash wayland.sh COMPOSITOR PROGRAM X_HELPER WAYLAND_HELPER MUTTER_INDICATOR
COMPOSITOR=$1 HELPER=$4 MUTTER_PRELOAD=$5
set -- "$2" "$3" ""
source "$(dirname "$0")/common.sh"
start_xvfb
source "$(dirname "$0")/../../script/wayland.sh"
case $COMPOSITOR in
    sway | labwc) route=zwlr_virtual_pointer_manager_v1 ;;
    kwin) route=org_kde_kwin_fake_input ;;
    mutter | gnome-shell) route=org.gnome.Mutter.RemoteDesktop ;;
    *) fail "unknown compositor $COMPOSITOR" ;;
esac
start_compositor "$COMPOSITOR" "$PROGRAM" "$HELPER"
at_exit 'stop_pid APP_PID'  # before its compositor, which it would miss aloud

"$HELPER" observe >"$SCRATCH/observed" 2>&1 & OBSERVER_PID=$!
at_exit 'stop_pid OBSERVER_PID'
wait_until "the observer's window was not shown" 'grep -qs ready "$SCRATCH/observed"'

now() { echo $((${EPOCHREALTIME//[!0-9]/} / 1000)); }

# The pointer's positions the observer saw from FROM on (ms, as `now` counts), led by the last one before:
# "MS X Y" lines. A compositor may repeat a position (a new device, a window shown): kept once.
positions() { awk -v from="$1" '($1 == "enter" || $1 == "motion") && $3 " " $4 != at { at = $3 " " $4
    if ($2 < from) { last = $2 " " at; next } if (last != "") { print last; last = "" } print $2, at }' \
    "$SCRATCH/observed"; }

# Fails unless each sideways move from FROM on restarted the compositor's idle time: the nudges keep the
# desktop awake.
expect_awake() {
    local track resumed
    track=$(positions "$1")
    resumed=$(awk '$1 == "resumed" {print $2}' "$SCRATCH/observed" | paste -sd ' ')
    awk -v resumed="$resumed" 'BEGIN { n = split(resumed, r, " ") }
        NR > 1 && $2 != x { hit = 0; for (i = 1; i <= n; i++) if (r[i] > $1 - 300 && r[i] < $1 + 600) hit = 1
            if (!hit) { print "the nudge at " $1 " did not restart the idle time"; bad = 1 } }
        { x = $2 } END { exit bad }' <<<"$track" || fail "a nudge did not count as input:"$'\n'"$(cat "$SCRATCH/observed")"
}

# Prints the time of the first sideways move from FROM on, if any.
first_nudge() { positions "$1" | awk 'NR > 1 && $2 != x { print $1; exit } { x = $2 }'; }
# Fails unless the nudges come (3 px, 3000 ms apart) within 7.5 s from now, or SECONDS: expect_nudging [SECONDS]
expect_nudging() {
    local from && from=$(now) && sleep "${1:-7.5}" && expect_nudges "$(positions "$((from + 200))")" 3 2 3000
}
# Mutter 48 shows the first move of a new remote-desktop device to no window: the observer sees the pointer
# enter only at the second, so where a device is new the nudges are watched for a tick longer, and for two
# where the second brings the pointer back to where the observer last saw it.
new_device_wait=0
[ "$route" = org.gnome.Mutter.RemoteDesktop ] && new_device_wait=3
# Fails if a nudge comes within SECONDS from now: expect_stopped SECONDS WHEN
expect_stopped() {
    local from && from=$(now) && sleep "$1"
    [ -z "$(first_nudge "$((from + 200))")" ] || fail "nudged $2:"$'\n'"$(positions "$from")"
}

# expect_route PROGRAM ROUTE: PROGRAM --check ends with status 0 and names ROUTE.
expect_route() { local check && check=$("$1" --check) && grep -q "^route: .*$2" <<<"$check" || fail "--check printed:"$'\n'"$check"; }
expect_route "$PROGRAM" "$route"

if [ "$COMPOSITOR" = kwin ]; then
    # No desktop entry names this copy: no route, and no pretending.
    mkdir "$SCRATCH/unnamed" && cp "$PROGRAM" "$SCRATCH/unnamed/nudgewick"
    "$SCRATCH/unnamed/nudgewick" --check >/dev/null && fail "--check of an unnamed copy ended with status 0"
    check=$(DBUS_SESSION_BUS_ADDRESS=unix:path=$SCRATCH/none "$SCRATCH/unnamed/nudgewick" --check) || true
    grep -q "No such file or directory" <<<"$check" || fail "without a session bus, no sd-bus words: $check"
    "$SCRATCH/unnamed/nudgewick" 3000 3 2>"$SCRATCH/refused" & APP_PID=$!
    dismiss_message "from a copy without a route"
    wait_for_exit 1 "without a route"
    one_line "$SCRATCH/refused" || fail "want one line on stderr, got:"$'\n'"$(cat "$SCRATCH/refused")"
    # An entry that KWin does not read (not in its folders) is named in the advice, not an install.
    entry=$SCRATCH/data/applications/unnamed.desktop
    named=$(grep -lsx "Exec=$PROGRAM" "$RUN.home"/.local/share/applications/*.desktop /usr/share/applications/*.desktop | head -n 1)
    mkdir -p "${entry%/*}" && sed "s|^Exec=$PROGRAM\$|Exec=$SCRATCH/unnamed/nudgewick|" "$named" >"$entry"
    check=$(XDG_DATA_HOME=$SCRATCH/data "$SCRATCH/unnamed/nudgewick" --check) || true
    grep -qF "$entry" <<<"$check" || fail "an installed entry KWin did not find is not named: $check"

    # With KDE's RemoteDesktop portal, the same copy nudges through it, and no dialog asks first. Plasma 6's
    # portal shares the screen as well, through PipeWire, which does not run here.
    # KWin's major version, from its package: kwin_wayland --version does not run here.
    version=$(dpkg-query -W -f '${Version}' kwin-wayland 2>/dev/null | sed 's/^[0-9]*://; s/\..*//') || true
    if [ "$version" = 5 ]; then
        start_kde_portal
        expect_route "$SCRATCH/unnamed/nudgewick" org.freedesktop.portal.RemoteDesktop
        "$SCRATCH/unnamed/nudgewick" 3000 3 & APP_PID=$!
        expect_nudging
        stop_pid APP_PID
        stop_pid PORTAL_PID && stop_pid PORTAL_KDE_PID
    elif [ "$version" = 6 ]; then
        start_kde_portal  # KWin 6 holds the desktop's shortcuts: the hotkey becomes one of them
        shortcuts=yes toggle_lines=0
    fi
fi
if [ "$COMPOSITOR" = sway ]; then
    # No Xwayland for the window.
    DISPLAY= "$PROGRAM" 3000 3 2>"$SCRATCH/no_x" && fail "started without an X display"
    one_line "$SCRATCH/no_x" || fail "want one line on stderr without an X display"
    # A portal whose user refuses the shortcut: the advice for --toggle, naming the combination.
    /usr/bin/python3 "$(dirname "$0")/refusing_portal.py" & PORTAL_PID=$!
    at_exit 'stop_pid PORTAL_PID'
    gdbus wait --session --timeout 20 org.freedesktop.portal.Desktop || fail "the stand-in portal did not start"
fi
# Under strace, for its footprint: see the end.
RUN_WITH=(strace -f -qq -o "$SCRATCH/trace" -e trace="$TRACED")
started=$(now)
start_program --hotkey ctrl+alt+n 3000 3 2>"$SCRATCH/stderr"
PROGRAM_PID=$(pgrep -P "$APP_PID")
at_exit 'kill "$PROGRAM_PID" 2>/dev/null'  # strace would let it go on, holding the test's output open
sleep $((12 + new_device_wait)).5
expect_nudges "$(positions "$started")" 3 3 3000
expect_awake "$started"

# A user moving the pointer up and down every second: none of ours meanwhile, and they resume after.
"$HELPER" user 8 >"$SCRATCH/user" 2>&1 || fail "the user could not move the pointer: $(cat "$SCRATCH/user")"
user_gone=$(now) && sleep 6
user_came=$(positions "$started" | awk '$3 != y && NR > 1 { print $1; exit } { y = $3 }')
[ -n "$user_came" ] || fail "the user's moves did not arrive"
nudged=$(first_nudge "$user_came")
[ -n "$nudged" ] && ((nudged > user_gone)) ||
    fail "nudged while the user moved the pointer, or not in the 6 s after:"$'\n'"$(positions "$user_came")"

# The button: Stop, then nothing for 7 s; Go, and the nudges resume.
click_control BUTTON
expect_stopped 7 "after Stop"
click_control BUTTON
expect_nudging

bus() { busctl --address="$DBUS_SESSION_BUS_ADDRESS" "$@"; }
unique=$(bus list --unique --no-legend | awk -v pid="$PROGRAM_PID" '$2 == pid { print $1 }')
if [ -n "${shortcuts:-}" ]; then
    # KDE's portal bound the hotkey without asking; --check and the tooltip say so, the latter in KDE's words.
    grep -q '^hotkey: .*GlobalShortcuts' <<<"$("$PROGRAM" --check)" || fail "--check names no desktop shortcut"
    answer=$("$PROGRAM" 3000 3) && grep -q 'Ctrl+Alt+N' <<<"$answer" || fail "the tooltip names no shortcut: $answer"
    # KWin's shortcuts press it (Stop, then Go); the same signal sent by another client straight to the program
    # presses nothing.
    session=/org/freedesktop/portal/desktop/session/${unique:1}/nudgewick
    bus emit --destination="$unique" /org/freedesktop/portal/desktop org.freedesktop.portal.GlobalShortcuts \
        Activated 'osta{sv}' "${session//./_}" toggle 0 0
    press() { bus call org.kde.kglobalaccel /component/token_nudgewick org.kde.kglobalaccel.Component invokeShortcut s toggle; }
    press && expect_stopped 7 "after the hotkey's Stop"
    press && expect_nudging
fi
if [ "$COMPOSITOR" = mutter ]; then
    # A Closed signal that another client sends straight to the program, for each session, ends nothing.
    for session in $(bus --list tree org.gnome.Mutter.RemoteDesktop | grep /Session/); do
        bus emit --destination="$unique" "$session" org.gnome.Mutter.RemoteDesktop.Session Closed
    done
    sleep 2
    expect_no_message "on a Closed signal from another client"
    # The indicator's button ends remote control: a message, no nudges, the program still there; Go asks again.
    kill -USR1 "$COMPOSITOR_PID"
    dismiss_message "when the desktop ended remote control"
    expect_stopped 4 "after remote control ended"
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "ended with remote control"
    click_control BUTTON
    expect_nudging $((7 + 2 * new_device_wait)).5
fi
if [ "$COMPOSITOR" = sway ]; then
    # A second start's --for answers with the tooltip: the session's end, and the note that points to a shortcut
    # for --toggle, as no hotkey is to be had here.
    answer=$("$PROGRAM" --for 1m)
    [[ $answer =~ [0-9]{2}:[0-9]{2}$'\n'[^$'\n']*--toggle[^$'\n']*$ ]] || fail "--for 1m answered: $answer"
fi

# One thread; nothing written; one connection each to the X display, the Wayland display and the session bus,
# which the notification-area icon and, on GNOME, the nudges share.
quit_program
[ "$(grep -c -- --toggle "$SCRATCH/stderr")" = "${toggle_lines:-1}" ] || fail "--hotkey wrote:"$'\n'"$(cat "$SCRATCH/stderr")"
[ "$COMPOSITOR" != sway ] || grep -q 'ctrl+alt+n.*--toggle' "$SCRATCH/stderr" || fail "the refusal was not said"
expect_footprint "$SCRATCH/trace" "/tmp/.X11-unix/X${DISPLAY#:}" "$WAYLAND_DISPLAY" "$(bus_socket)"
echo PASS
