# The window as a screen reader meets it through AT-SPI, with atspi_client.py in the reader's place.
source "$(dirname "$0")/common.sh"
start_xvfb
start_accessibility --a11y=0
at_exit 'stop_pid LISTENER_PID'
printf '#!/bin/sh\necho "$@" >"%s"\n' "$SCRATCH/opened" >"$SCRATCH/xdg-open" && chmod +x "$SCRATCH/xdg-open"
client() { /usr/bin/python3 "$(dirname "$0")/atspi_client.py" "$@"; }
box="Interval (Milliseconds)"
# -s: the listener in the background may not have made its file yet.
heard() { for _ in {1..100}; do grep -qsxF "$1" "$SCRATCH/heard" && return; sleep 0.1; done
    fail "the screen reader did not hear: $1; it heard:"$'\n'"$(cat "$SCRATCH/heard")"; }
line_of() { grep -nxF "$1" "$SCRATCH/heard" | head -n 1 | cut -d: -f1; }

PROGRAM_ENV=(PATH="$SCRATCH:$PATH")
start_program 3000 3
served() { client tree >/dev/null 2>&1; }  # the tree of the application named Nudgewick on the desktop
served && fail "served while accessibility is off"
switch Set org.a11y.Status ScreenReaderEnabled '<true>'
wait_until "not served once accessibility was switched on" served
# Python itself in the background, not a subshell around it, so that its PID is the one stopped.
/usr/bin/python3 "$(dirname "$0")/atspi_client.py" listen >"$SCRATCH/heard" 2>&1 & LISTENER_PID=$!
heard listening

focus "$WID"
status=$("$PROGRAM" --status) || fail "--status: $?"
diff <(client tree) - <<EOF || fail "the tree differs"
0|application|$NUDGEWICK_NAME||
1|frame|$NUDGEWICK_TITLE|active,enabled,sensitive,showing,visible|
2|label|Nudgewick|enabled,sensitive,showing,visible|
2|link|$ADDRESS|enabled,focusable,sensitive,showing,visible|
2|label|$status|enabled,sensitive,showing,visible|
2|label|$box|enabled,sensitive,showing,visible|label-for:entry $box
2|entry|$box|editable,enabled,focusable,selectable-text,sensitive,showing,single-line,visible|labelled-by:label $box
2|push button|Stop|enabled,focusable,focused,sensitive,showing,visible|
2|label|Pixels|enabled,sensitive,showing,visible|label-for:entry Pixels
2|entry|Pixels|editable,enabled,focusable,selectable-text,sensitive,showing,single-line,visible|labelled-by:label Pixels
EOF

# The X focus leaves and comes back: the frame is told inactive, then active before the focus is told.
unfocus
heard "deactivate frame $NUDGEWICK_TITLE"
focus "$WID"
heard "activate frame $NUDGEWICK_TITLE"
heard "focus push button Stop in the active window"
(($(line_of "activate frame $NUDGEWICK_TITLE") < $(line_of "focus push button Stop in the active window"))) ||
    fail "the focus was told before the window's activation"

# Keys go to the screen reader first; it takes z, the box gets the others.
xdotool key Tab
heard "focus entry Pixels in the active window"
xdotool type 1z2
heard "key pressed z"
heard "key released 2"
[ "$(client text Pixels)" = 12 ] || fail "the pixels box reads '$(client text Pixels)', want 12 (z taken)"
grep -q "^insert entry Pixels 1 2$" "$SCRATCH/heard" || fail "typing was not told as inserted text"

# A text given through EditableText is taken when the focus moves, as a typed one is.
client focus "$box"
heard "focus entry $box in the active window"
client set "$box" 4500
heard "insert entry $box 0 45"
client focus Stop
heard "focus push button Stop in the active window"
xdotool mousemove 600 500
expect_nudges "$(track_pointer 16 2)" 12 2 4500  # the pixels typed above

# Below the floor: the message opens in the tree, its OK closes it, and the box shows the floor.
client focus "$box"
heard "focus entry $box in the active window"
client set "$box" 100
client focus Stop
heard "add application Nudgewick alert Nudgewick"
focus "$(wait_for_window "$MESSAGE_WINDOW")"
heard "activate alert Nudgewick"
client tree >"$SCRATCH/tree"
grep -q '^1|alert|Nudgewick|active,.*modal' "$SCRATCH/tree" && grep -q '^2|label|..*3000' "$SCRATCH/tree" &&
    grep -q '^2|push button|OK|.*focused' "$SCRATCH/tree" || fail "the message is not told:"$'\n'"$(cat "$SCRATCH/tree")"
[ "$(client act OK)" = click ] || fail "the message's OK does not click"
heard "remove application Nudgewick closed message"
[ "$(client text "$box")" = 3000 ] || fail "the interval box reads '$(client text "$box")', want the floor"

# The button's action stops the nudges; its new name and the status line's are told.
[ "$(client act Stop)" = click ] || fail "the button's action is not a click"
heard "name push button Go"
heard "name label $("$PROGRAM" --status)"
expect_still 7

[ "$(client act "$ADDRESS")" = jump ] || fail "the link's action is not a jump"
wait_until "the link's action did not reach the opener" '[ "$(cat "$SCRATCH/opened" 2>/dev/null)" = "$ADDRESS" ]'

close_window
echo PASS
