# Stopped and continued (SIGSTOP, SIGCONT), as a suspend stops it: the ticks missed meanwhile count as one, which
# comes within an interval (the toolkit's wait goes on for what was left of it) and swings on from where the pointer
# was, where two at once would leave it there; a session whose end passed meanwhile ends before any nudge.
source "$(dirname "$0")/common.sh"
start_xvfb
# On row 0 the first tick nudges; stopped after it, with the pointer 5 px right.
suspend_after_first_nudge() {
    xdotool mousemove --sync 600 0
    start_program "$@" 3000 5
    track_pointer 5 1 >/dev/null
    kill -STOP "$APP_PID" && sleep 7 && kill -CONT "$APP_PID"
}
suspend_after_first_nudge
expect_swing "$(track_pointer 8 2)" 605 0 -5 2 3000
stop_pid APP_PID
suspend_after_first_nudge --for 6s
expect_still 5
echo PASS
