# Sourced by the end-to-end scripts, Linux (run as  bash SCRIPT.sh PROGRAM X_HELPER ADDRESS TRAY_MANAGER) and
# Wine: the program's window, its messages and the pointer's moves on the private X server of script/xvfb.sh.
source "$(dirname "${BASH_SOURCE[0]}")/../../script/xvfb.sh"
PROGRAM=${1:-} X_HELPER=${2:-} ADDRESS=${3:-} TRAY=${4:-}
unset WAYLAND_DISPLAY XDG_SESSION_TYPE  # the program would say on stderr that it runs on Wayland
at_exit 'stop_pid TRAY_PID'

focus() { xdotool windowfocus --sync "$1"; }
unfocus() { focus "$(xwininfo -root | awk '/Window id/ {print $4}')"; }  # the root takes the keyboard

expect_no_message() { [ -z "$(windows "$MESSAGE_WINDOW")" ] || fail "a message appeared $1"; }

# Answers the "Nudgewick" message box with Enter once it appears: dismiss_message WHEN
dismiss_message() {
    local message && message=$(wait_for_window "$MESSAGE_WINDOW") || fail "no message $1"
    focus "$message" && xdotool key Return
    wait_until "the message stayed open $1" '[ -z "$(windows "$MESSAGE_WINDOW")" ]'
}

# Prints "MS X Y" for where the pointer is at first and after each move, for
# at most SECONDS or until MOVES moves were seen.
track_pointer() {
    local seconds=$1 moves=${2:-1000} start now where last="" seen=-1
    start=$((${EPOCHREALTIME//[!0-9]/} / 1000))
    while now=$((${EPOCHREALTIME//[!0-9]/} / 1000)); ((now - start < seconds * 1000 && seen < moves)); do
        where=$(pointer)
        [ "$where" = "$last" ] || { echo "$((now - start)) $where" && last=$where && seen=$((seen + 1)); }
        sleep 0.1
    done
}

expect_still() { local track; track=$(track_pointer "$1"); [ "$(wc -l <<<"$track")" = 1 ] || fail "moved:"$'\n'"$track"; }

# Fails unless the tracked pointer went from column X to X+DISTANCE and back
# on row Y, at least MOVES times, GAP milliseconds apart (give or take 600).
expect_swing() {
    local track=$1 x=$2 y=$3 distance=$4 moves=$5 gap=$6
    awk -v x="$x" -v y="$y" -v d="$distance" -v moves="$moves" -v gap="$gap" '
        { want = NR % 2 ? x : x + d
          if ($2 != want || $3 != y) { print "move " NR - 1 ": want " want " " y; bad = 1 }
          if (NR > 2 && ($1 - last < gap - 600 || $1 - last > gap + 600)) {
              print "move " NR - 1 ": " $1 - last " ms apart"; bad = 1 }
          last = $1 }
        END { if (NR - 1 < moves) { print NR - 1 " moves, want " moves; bad = 1 }; exit bad }' <<<"$track" ||
        fail "the pointer did not swing as expected:"$'\n'"$track"
}

# expect_swing from wherever TRACK starts, either way first: expect_nudges TRACK DISTANCE MOVES GAP
expect_nudges() {
    local x y next
    read -r x y next < <(awk 'NR == 1 {x = $2; y = $3} NR == 2 {next_x = $2} END {print x, y, next_x}' <<<"$1")
    expect_swing "$1" "$x" "$y" "$((next - x == -$2 ? -$2 : $2))" "$3" "$4"
}

# Waits up to 10 s for the program to end and, given STATUS, fails unless it ended with that: wait_for_exit [STATUS [WHEN]]
wait_for_exit() {
    local status=0
    wait_until "the program is still running ${2:-}" '! kill -0 "$APP_PID" 2>/dev/null'
    wait "$APP_PID" || status=$?
    APP_PID=
    [ -z "${1:-}" ] || [ "$status" = "$1" ] || fail "the program ended with status $status ${2:-}, want $1"
}
close_window() { "$X_HELPER" close "$WID" && wait_for_exit 0 "on closing its window"; }
quit_program() { "$PROGRAM" --quit >/dev/null || fail "--quit: status $?"; wait_for_exit 0 "on --quit"; }
# A start right after --quit is the copy that runs afterwards, not one handed to the ending copy: ten times over,
# each start run by RUN_WITH.
expect_start_after_quit() {
    local ended
    for _ in {1..10}; do
        ended=$APP_PID && "${RUN_WITH[@]}" "$PROGRAM" --quit >/dev/null &&
            { "${RUN_WITH[@]}" "$PROGRAM" 20000 2 2>>"$SCRATCH/errors" & APP_PID=$!; }
        wait "$ended" && wait_until "no copy runs after --quit and a start" \
            '"${RUN_WITH[@]}" "$PROGRAM" --status >/dev/null' && kill -0 "$APP_PID" 2>/dev/null ||
            fail "the start right after --quit handed itself to the ending copy"
    done
}

# Clicks a control (facts.sh's NAME) at 96 dpi on its middle row, X pixels in or in its middle: click_control NAME [X]
click_control() {
    local -n place=${1}_AT_96
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$WID" | grep -E '^[XY]=')"
    xdotool mousemove --sync $((X + place[0] + ${2:-$((place[2] / 2))})) $((Y + place[1] + place[3] / 2)) click 1
}

# The start/stop button's pixels.
button_look() { local -n b=BUTTON_AT_96; import -window "$WID" -crop "${b[2]}x${b[3]}+${b[0]}+${b[1]}" rgb:- | md5sum; }

# The text of the focused box, through the clipboard (Ctrl+A, Ctrl+C).
focused_box_text() { xdotool key ctrl+a ctrl+c && "$X_HELPER" ask CLIPBOARD UTF8_STRING; }

# FILE holds exactly one line, and it is not blank.
one_line() { [ "$(wc -l <"$1")" = 1 ] && [ "$(grep -c . "$1")" = 1 ]; }

# The session bus's socket, from DBUS_SESSION_BUS_ADDRESS.
bus_socket() { sed -E 's/^unix:(path|abstract)=([^,]*).*/\2/' <<<"$DBUS_SESSION_BUS_ADDRESS"; }

# What a run under strace -f -e trace="$TRACED" shows of the program's footprint.
TRACED=open,openat,openat2,creat,mkdir,mkdirat,unlink,unlinkat,rename,renameat,renameat2
TRACED+=,socket,connect,clone,clone3,fork,vfork,execve,execveat

# The whole run, to its end, in strace's LOG: nothing read but libraries, locale and its translations, the time zone (a session's end is
# a time of day), fonts, X's own files and the kernel's group limit (sd-bus asks it); nothing opened for writing, created or removed; one connection to each
# SOCKET (the X display's, the Wayland display's, the session bus's) and to nothing else, though Xlib may try the
# display's abstract socket first; no clone or exec after the program's own exec but, with RUNS=NAME, the one start
# of the command NAME that "--" asks for: a vfork and its execs along the PATH.  [RUNS=NAME] expect_footprint LOG SOCKET...
expect_footprint() {
    local log=$1 reads writes others connected started socket expected=()
    shift
    found() { grep -E "$1" "$log" || true; }
    local allowed='^/(etc/ld\.so|etc/localtime|lib/|usr/(lib|share/(X11|locale|zoneinfo))/|var/cache/libx11/)|fontconfig|fonts'
    allowed+='|/\.X(authority|defaults|Compose)|^/proc/sys/kernel/ngroups_max$'
    allowed+='|/share/locale/[^/]+/LC_MESSAGES/nudgewick\.mo$'  # its own translations, beside the program
    reads=$(found '\bopen(at2?)?\(' | grep -oE '"[^"]*"' | tr -d '"' | sort -u | grep -vE "$allowed" || true)
    [ -z "$reads" ] || fail "opens files that are neither libraries, locale, fonts nor X's:"$'\n'"$reads"
    writes=$(found '\bopen(at2?)?\(.*O_(WRONLY|RDWR|CREAT|TRUNC)|\b(creat|mkdir(at)?|unlink(at)?|rename(at2?)?)\(')
    [ -z "$writes" ] || fail "touches the file system:"$'\n'"$writes"
    for socket in "$@"; do expected+=(-e "sun_path=@\"$socket\"" -e "sun_path=\"$socket\""); done
    others=$({ found '\bsocket\(' | grep -v 'socket(AF_UNIX'
        found '\bconnect\(' | grep -vF "${expected[@]}"; } || true)
    [ -z "$others" ] || fail "talks to something other than $*:"$'\n'"$others"
    for socket in "$@"; do
        connected=$(found '\bconnect\(.*\) = 0$' | grep -cF "\"$socket\"" || true)
        [ "$connected" = 1 ] || fail "made $connected connections to $socket, want 1"
    done
    started=$(found '\b(clone3?|fork|vfork|execve|execveat)\(' | tail -n +2)
    if [ -n "${RUNS:-}" ]; then
        [ "$(grep -c CLONE_VFORK <<<"$started")" = 1 ] || fail "want one start of $RUNS:"$'\n'"$started"
        started=$(grep -vE "CLONE_VFORK|execve\(\"[^\"]*/$RUNS\"" <<<"$started" || true)
    fi
    [ -z "$started" ] || fail "starts a thread or a process (the link was not clicked):"$'\n'"$started"
}

# wait_until MESSAGE CONDITION: fails with MESSAGE unless CONDITION holds within 10 s.
wait_until() { for _ in {1..100}; do eval "$2" && return; sleep 0.1; done; fail "$1"; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# The test's tray manager (tray_manager.cpp) with its arguments, in place of any before it; the first icon it took:
#   docked_icon [WHEN]
start_tray() { stop_pid TRAY_PID; : >"$SCRATCH/tray"; "$TRAY" "$@" >"$SCRATCH/tray" & TRAY_PID=$!; }
docked() { [ -s "$SCRATCH/tray" ]; }
docked_icon() { wait_until "no icon docked ${1:-}" docked; head -n 1 "$SCRATCH/tray"; }

# Makes each LOCALE's UTF-8 locale in a folder of the test's own (LOCPATH), so that the machine's list of locales
# stays as it is: make_locales LOCALE...
make_locales() {
    local locale
    export LOCPATH=$SCRATCH/locales
    mkdir -p "$LOCPATH"
    for locale in "$@"; do
        localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>/dev/null || [ -d "$LOCPATH/$locale.UTF-8" ] ||
            fail "localedef could not make $locale.UTF-8"
    done
}
# The catalogue's TEXT, from the tree of catalogues TREE, with its %1 and %2 as given; in C the English. The tests
# expect what the catalogues say, so that a fault shows as a text in the wrong language, not as a changed sentence.
#   translated LANGUAGE TEXT [VALUE [VALUE]]
translated() {
    local text=$2
    if [ "$1" != C ]; then
        text=$(TEXTDOMAINDIR=$TREE LANGUAGE=$1 LANG=C.UTF-8 gettext -d nudgewick "$2")
        [ "$text" != "$2" ] || fail "the $1 catalogue does not translate \"$2\""
    fi
    text=${text//%1/${3:-}}
    echo "${text//%2/${4:-}}"
}

# A private session bus with at-spi2-core's accessibility switch on it: start_accessibility LAUNCHER_ARGUMENTS.
start_accessibility() {
    export XDG_RUNTIME_DIR=$SCRATCH/run GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    start_session_bus
    /usr/libexec/at-spi-bus-launcher "$@" >/dev/null 2>&1 & LAUNCHER_PID=$!
    at_exit 'stop_pid LAUNCHER_PID'
    wait_until "the accessibility switch did not start" 'switch Get org.a11y.Status IsEnabled 2>/dev/null'
}
# switch Get|Set org.a11y.Status NAME [VALUE]
switch() { gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.freedesktop.DBus.Properties."$@" >/dev/null; }
