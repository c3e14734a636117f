# Under strace: no toolkit file read, no writes, only the X socket and the session bus's, no process, one
# thread, though the toolkit's preferences are malformed; and when X goes away, a quick, quiet, error end.
# A notification-area watcher on the bus takes the icon meanwhile.
source "$(dirname "$0")/common.sh"
start_xvfb
start_session_bus
/usr/bin/python3 "$(dirname "$0")/sni_host.py" watcher >"$SCRATCH/watcher" & WATCHER_PID=$!
at_exit 'stop_pid WATCHER_PID'
xdotool mousemove 1000 740  # parked: every tick nudges
log=$SCRATCH/log err=$SCRATCH/stderr home=$SCRATCH/home
mkdir -p "$home/.fltk/fltk.org"
# Three lines of comments, then a group FLTK would name [./options]: its reader crashes on the entry.
printf ';\n;\n;\n[options]\nVisibleFocus:1\n' >"$home/.fltk/fltk.org/fltk.prefs"

traced=open,openat,openat2,creat,mkdir,mkdirat,unlink,unlinkat,rename,renameat,renameat2
traced+=,socket,connect,clone,clone3,fork,vfork,execve,execveat
(
    HOME=$home strace -f -qq -o "$log" -e trace="$traced" "$PROGRAM" 3000 3 2>"$err" && status=0 || status=$?
    echo "$status" >"$SCRATCH/status"
) &
runner=$!
[ "$(track_pointer 20 3 | wc -l)" = 4 ] || fail "the pointer was not nudged 3 times in 20 s"
grep -q '^registered' "$SCRATCH/watcher" || fail "the icon did not register with the watcher"
APP_PID=$(pgrep -P "$(pgrep -P "$runner")")
threads=$(awk '/^Threads:/ {print $2}' /proc/"$APP_PID"/status)
[ "$threads" = 1 ] || fail "runs $threads threads, want 1 (/proc status)"

stop_pid XVFB_PID
for _ in {1..20}; do [ -s "$SCRATCH/status" ] && break; sleep 0.05; done
[ -s "$SCRATCH/status" ] || fail "still running 1 s after its X server went away"
APP_PID= status=$(<"$SCRATCH/status")
((status > 0 && status < 126)) || fail "exit status $status, want an error status (1-125; above is a signal)"
one_line "$err" || fail "want one line on stderr, got:"$'\n'"$(cat "$err")"

# The whole run, to its end, in strace's log: nothing read but libraries,
# locale, fonts and X's own files; nothing opened for writing, created or
# removed; Xlib may try the display's abstract socket, then its path, sd-bus
# the session bus's, and nothing else; no clone or exec after the program's
# own exec.
found() { grep -E "$1" "$log" || true; }
allowed='^/(etc/ld\.so|lib/|usr/(lib|share/(X11|locale))/|var/cache/libx11/)|fontconfig|fonts|/\.X(authority|defaults|Compose)'
reads=$(found '\bopen(at2?)?\(' | grep -oE '"[^"]*"' | tr -d '"' | sort -u | grep -vE "$allowed" || true)
[ -z "$reads" ] || fail "opens files that are neither libraries, locale, fonts nor X's:"$'\n'"$reads"
writes=$(found '\bopen(at2?)?\(.*O_(WRONLY|RDWR|CREAT|TRUNC)|\b(creat|mkdir(at)?|unlink(at)?|rename(at2?)?)\(')
[ -z "$writes" ] || fail "touches the file system:"$'\n'"$writes"
socket=/tmp/.X11-unix/X${DISPLAY#:}
bus=$(sed -E 's/^unix:(path|abstract)=([^,]*).*/\2/' <<<"$DBUS_SESSION_BUS_ADDRESS")
others=$({ found '\bsocket\(' | grep -v 'socket(AF_UNIX'
    found '\bconnect\(' | grep -vF -e "sun_path=@\"$socket\"" -e "sun_path=\"$socket\"" \
        -e "sun_path=@\"$bus\"" -e "sun_path=\"$bus\""; } || true)
[ -z "$others" ] || fail "talks to something other than $DISPLAY and the session bus:"$'\n'"$others"
for server in "$socket" "$bus"; do
    connected=$(found '\bconnect\(.*\) = 0$' | grep -cF "\"$server\"" || true)
    [ "$connected" = 1 ] || fail "made $connected connections to $server, want 1"
done
started=$(found '\b(clone3?|fork|vfork|execve|execveat)\(' | tail -n +2)
[ -z "$started" ] || fail "starts a thread or a process (the link was not clicked):"$'\n'"$started"
echo PASS
