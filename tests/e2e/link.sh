# The link runs xdg-open with just the address, clean signals and no zombie left; a missing xdg-open brings the message.
source "$(dirname "$0")/common.sh"
start_xvfb
opener=$SCRATCH/xdg-open record=$SCRATCH/record
cat >"$opener" <<STUB
#!/bin/sh
PATH=/usr/bin:/bin
# Built-ins only: dash blocks every signal while it waits for a child.
{ echo "\$#"; printf '%s\n' "\$@"
  while read -r key value; do case \$key in SigBlk:|SigIgn:) echo "\$key \$value" ;; esac; done </proc/\$\$/status
} >"$record.tmp"
mv "$record.tmp" "$record"
STUB
chmod +x "$opener"
click_link() { click_control 240 360 3735 255; }

trap '' HUP  # inherited by the program, and must not reach the opener
PROGRAM_ENV=(PATH="$SCRATCH")
start_program 3000 5
click_link
for _ in {1..50}; do [ -f "$record" ] && break; sleep 0.1; done
[ -f "$record" ] || fail "xdg-open did not start"
[ "$(head -n 2 "$record")" = "$(printf '1\n%s' "$ADDRESS")" ] || fail "xdg-open got:"$'\n'"$(cat "$record")"
ignored=$(awk '/^SigIgn/ {print $2}' "$record") blocked=$(awk '/^SigBlk/ {print $2}' "$record")
# glibc's posix_spawn leaves its own two signals (32 and 33) ignored; no other may be.
(((0x$ignored & ~0x180000000) == 0 && 0x$blocked == 0)) ||
    fail "xdg-open started with signals ignored $ignored, blocked $blocked"
sleep 0.5
[ -z "$(ps -o pid= --ppid "$APP_PID")" ] || fail "a child is left: $(ps -o pid=,stat=,args= --ppid "$APP_PID")"
expect_no_message "after a good start"

rm "$opener"
click_link
dismiss_message "when xdg-open is missing"
echo PASS
