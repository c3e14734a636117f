# A locked screen and a low battery, as logind, the screen savers and UPower say on private buses
# (lock_services.py), then the real xscreensaver locking the display.
#   bash lock.sh PROGRAM X_HELPER
source "$(dirname "$0")/common.sh"
start_xvfb
start_session_bus  # the system bus, then the session's
DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS SYSTEM_BUS_PID=$BUS_PID
at_exit 'stop_pid SYSTEM_BUS_PID'
start_session_bus
mkfifo "$SCRATCH/control"
export DBUS_SYSTEM_BUS_ADDRESS XDG_SESSION_ID=c1
/usr/bin/python3 "$(dirname "$0")/lock_services.py" "$SCRATCH/ready" <"$SCRATCH/control" & SERVICES_PID=$!
at_exit 'stop_pid SERVICES_PID'
exec 7>"$SCRATCH/control"
wait_until "the stand-ins did not start" '[ -s "$SCRATCH/ready" ]'
say() { echo "$*" >&7; sleep 0.5; }
nudging() {
    [ "$(track_pointer "${2:-8}" 2 | wc -l)" = 3 ] || fail "no nudges $1: $("$PROGRAM" --status)"
    "$PROGRAM" --status >/dev/null || fail "--status says it does not nudge $1"
}

xdotool mousemove 600 500 && start_program --battery 50 3000 3
nudging "at the start" 12
for change in "logind 1:logind 0" "fdo 1:fdo 0" "gnome 1:gnome 0" "battery 1 50:battery 0 50" \
    "battery 1 10:battery 1 51"; do
    lock=${change%%:*} unlock=${change#*:}
    say "$lock"
    ! "$PROGRAM" --status >/dev/null || fail "--status says it nudges after \"$lock\""
    expect_still 7
    say "$unlock" && nudging "after \"$unlock\""
done
say "forge $APP_PID" && nudging "after forged signals"
say "gnome 1" && expect_still 4 && say "drop gnome"
nudging "after the screen saver left the bus"
lock_lines() { "$PROGRAM" --check | sed -n '/^lock:/,$p'; }
say "fdo 1" && locked=$(lock_lines) && say "fdo 0" && unlocked=$(lock_lines)
[[ $unlocked == *login1*.ScreenSaver && $locked == "$unlocked"$'\n'* && $locked != *$'\n'*$'\n'* ]] ||
    fail "--check printed, locked: $locked, unlocked: $unlocked"

# xscreensaver 6 as an unprivileged user, with a home of its own (it locks for no root) and no system bus for its
# xscreensaver-systemd, locked right after a nudge: no nudge wakes it (its log would say "authorizing", and its
# unlock dialog would start); once it has ended, whatever status it left on the root window, the nudges come back.
mkdir "$SCRATCH/home" && chmod 711 "$SCRATCH"
saver=(env HOME="$SCRATCH/home" DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent)
[ "$(id -u)" != 0 ] || { saver=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${saver[@]}") &&
    chown nobody "$SCRATCH/home"; }
# lock_saver: starts xscreensaver and locks it right after a nudge; MARK is where its log was then.
lock_saver() {
    "${saver[@]}" xscreensaver -no-splash -verbose >>"$SCRATCH/saver.log" 2>&1 & SAVER_PID=$!
    wait_until "xscreensaver did not start" '"${saver[@]}" xscreensaver-command -version >/dev/null 2>&1'
    track_pointer 4 1 >/dev/null && "${saver[@]}" xscreensaver-command -lock >/dev/null
    MARK=$(wc -l <"$SCRATCH/saver.log")
}
at_exit 'stop_pid SAVER_PID'
lock_saver && expect_still 7
! tail -n +"$MARK" "$SCRATCH/saver.log" | grep authoriz || fail "a nudge woke the locked xscreensaver"
[[ $(lock_lines) == *xscreensaver$'\n'?* ]] || fail "--check did not say xscreensaver locked: $(lock_lines)"
stop_pid SAVER_PID && nudging "once xscreensaver ended"
[[ $(lock_lines) != *xscreensaver* ]] || fail "--check names the xscreensaver that ended"
lock_saver && expect_still 4  # a new start is followed as the first
echo PASS
