# A click on the link starts xdg-open with the address, from fresh signal
# settings, and leaves no zombie; a failed start shows a message.
source "$(dirname "$0")/common.sh"
start_display
stubs=$(mktemp -d)
trap 'stop_program; stop_xvfb; rm -rf "$stubs"' EXIT
cat >"$stubs/xdg-open" <<STUB
#!/bin/sh
{ echo "\$#"; printf '%s\n' "\$@"; grep -E '^Sig(Blk|Ign)' /proc/\$\$/status; } >"$stubs/record.tmp"
mv "$stubs/record.tmp" "$stubs/record"
STUB
chmod +x "$stubs/xdg-open"

click_link() { click_control 240 360 3735 255; }

trap '' HUP  # inherited by the program, and must not reach the opener
PROGRAM_ENV=(PATH="$stubs:$PATH")
start_program 3000 5
click_link
for _ in $(seq 50); do [ -f "$stubs/record" ] && break; sleep 0.1; done
record=$(cat "$stubs/record" 2>/dev/null) || fail "xdg-open did not start"
[ "$(head -n 2 <<<"$record")" = "$(printf '1\n%s' "$ADDRESS")" ] || fail "xdg-open got:"$'\n'"$record"
ignored=$(awk '/^SigIgn/ {print $2}' <<<"$record") blocked=$(awk '/^SigBlk/ {print $2}' <<<"$record")
# glibc's posix_spawn leaves its own two signals (32 and 33) ignored; no other may be.
(((0x$ignored & ~0x180000000) == 0 && 0x$blocked == 0)) ||
    fail "xdg-open started with signals ignored $ignored, blocked $blocked"
sleep 0.5
[ -z "$(ps -o pid= --ppid "$APP_PID")" ] || fail "a child is left: $(ps -o pid=,stat=,args= --ppid "$APP_PID")"
expect_no_message "after a good start"
stop_program

PROGRAM_ENV=(PATH=/nonexistent)
start_program 3000 5
click_link
dismiss_message "when xdg-open is missing"
echo PASS
