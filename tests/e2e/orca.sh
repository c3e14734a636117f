# Orca itself in the window; what it would speak is read from its debug file (its speech is off: no sound here).
source "$(dirname "$0")/common.sh"
start_xvfb
start_accessibility --a11y=1 --screen-reader=1
export HOME=$SCRATCH/home && mkdir -m 700 "$HOME"
# Orca runs on a terminal of script's, where it writes its log line by line; its own end may wait on the bus,
# so it is killed outright, and script, which reaps it, is waited for: a new Orca refuses to start while an
# old one is listed.
at_exit 'for pid in $(pgrep -P "${SCRIPT_PID:-0}"); do kill -KILL "$pid"; done; [ -z "${SCRIPT_PID:-}" ] || wait "$SCRIPT_PID" || true'
log=$SCRATCH/orca.log seen=0
# logged TEXT: a line of Orca's log after those already matched holds TEXT, within 30 s.
logged() {
    for _ in {1..300}; do
        at=$(awk -v after="$seen" -v want="$1" 'NR > after && index($0, want) {print NR; exit}' "$log" 2>/dev/null) &&
            [ -n "$at" ] && seen=$at && return
        sleep 0.1
    done
    # Which control the window itself says has the focus tells a lost key from an unheard event.
    fail "Orca's log has no '$1' after line $seen; it said:"$'\n'"$(grep -o "SPEECH OUTPUT: '[^']*'" "$log")"$'\n'"The window's focus: $(/usr/bin/python3 "$(dirname "$0")/atspi_client.py" tree 2>&1 | grep -w focused)"
}
said() { logged "SPEECH OUTPUT: '$1"; }

# Orca 48 logs no startup line, calls a push button a button, ends the frame's line without a stop and logs
# no consumed modifier; the learn mode it enters tells that Insert reached it all the same.
if [[ $(orca --version) =~ ^4[0-7]\. ]]; then
    ready="Startup complete" frame="frame." button="push button" modifier="CONSUME:  True (Orca modifier)"
else
    ready="EVENT MANAGER: Activated" frame=frame button=button modifier=
fi

start_program 3000 3
# Through python3 by name, Orca's process is not one that another Orca of this user (another test run at
# the same time) takes for the session's screen reader, nor this one for theirs.
script -qfec "/usr/bin/python3 /usr/bin/orca --disable speech --disable braille --debug-file /dev/tty -u $SCRATCH/orca" "$log" >/dev/null 2>&1 &
SCRIPT_PID=$!
logged "$ready" && seen=0  # Orca may tell the window already as it starts
unfocus
focus "$WID"
said "$NUDGEWICK_TITLE $frame"
said "Stop $button."
xdotool key Tab
said "Pixels entry 3 selected."
xdotool type 4
said "4"
xdotool key Tab
said "Interval (Milliseconds) entry 3000 selected."
xdotool key Tab
said "$ADDRESS link."
xdotool key KP_Insert+h
[ -z "$modifier" ] || logged "$modifier"
logged "Handler is Enter learn mode"
echo PASS
