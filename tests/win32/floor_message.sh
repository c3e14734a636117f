#!/usr/bin/env bash
# An interval below the floor typed into its box brings up the "Nudgewick"
# message when the focus moves on to another control, and only then: not on
# Enter or Escape in the box, not when another program takes the focus, and
# not again for the message's own taking of it. Coming back to the window
# gives the focus back to the box.
source "$(dirname "$0")/wine.sh"
exe=$1

messages_after() {
    sleep "$1"
    xdotool search --name '^Nudgewick$' | wc -l
}

dismiss() {
    focus "$1"
    xdotool key Return
    wait_for_no_window '^Nudgewick$'
}

start_session
wine "$exe" &
main=$(wait_for_window '^Nudgewick 1\.0$')
focus "$main"

# The button has the focus at first; two Tabs reach the interval box and select its text.
xdotool key --delay 100 Tab Tab
xdotool type --delay 50 2500
xdotool key --delay 100 Return Escape
[ "$(messages_after 1)" = 0 ] || fail "a message appeared on Enter or Escape in the interval box"
xdotool search --name '^Nudgewick 1\.0$' >/dev/null || fail "Enter or Escape closed the window"

# Another program's message takes the focus: only that one may show.
wine "$exe" --version >/dev/null &
other=$!
version=$(wait_for_window '^Nudgewick$')
[ "$(messages_after 1)" = 1 ] || fail "losing the focus to another program brought up a message"
dismiss "$version"
wait "$other"

focus "$main"
xdotool key Tab
message=$(wait_for_window '^Nudgewick$')
dismiss "$message"
[ "$(messages_after 2)" = 0 ] || fail "the message came again once dismissed"
echo "PASS: the floor message comes when Tab leaves the box, and only then"
