# The link and xdg-open, its failure's message, and SIGINT though script/run starts the program with it ignored.
source "$(dirname "$0")/common.sh"
start_xvfb
opener=$SCRATCH/xdg-open record=$SCRATCH/record
cat >"$opener" <<STUB
#!/bin/sh
# Built-ins only until the record is written: dash blocks every signal while it waits for a child.
{ echo "\$#"; printf '%s\n' "\$@"; } >"$record.tmp"
while read -r field value; do
    case \$field in SigBlk: | SigIgn:) echo "\$field \$value" ;; esac
done </proc/\$\$/status >>"$record.tmp"
PATH=/usr/bin:/bin
mv "$record.tmp" "$record"
[ ! -f "$SCRATCH/fail" ] || { sleep 1; exit 3; }  # as xdg-open does when no method opens the address
STUB
chmod +x "$opener"
click_link() { click_control LINK; }
wait_for_record() { wait_until "xdg-open did not start $1" '[ -f "$record" ]'; }
expect_no_child() { sleep 0.5; [ -z "$(ps -o pid= --ppid "$APP_PID")" ] ||
    fail "a child is left: $(ps -o pid=,stat=,args= --ppid "$APP_PID")"; }

trap '' HUP  # inherited by the program, and must not reach the opener
PROGRAM_ENV=(PATH="$SCRATCH")
start_program 3000 5
start_tray
click_link
wait_for_record "on a click"
[ "$(head -n 2 "$record")" = "$(printf '1\n%s' "$ADDRESS")" ] || fail "xdg-open got:"$'\n'"$(cat "$record")"
ignored=$(awk '/^SigIgn/ {print $2}' "$record") blocked=$(awk '/^SigBlk/ {print $2}' "$record")
# glibc's posix_spawn leaves its own two signals (32 and 33) ignored; no other may be.
(((0x$ignored & ~0x180000000) == 0 && 0x$blocked == 0)) ||
    fail "xdg-open started with signals ignored $ignored, blocked $blocked"
expect_no_child
expect_no_message "after a good start"

# The button has the focus: Tab, Tab, Tab reach the link.
rm "$record" && touch "$SCRATCH/fail"
focus "$WID"
xdotool key Tab Tab Tab Return
wait_for_record "on Enter"
xdotool mousemove --window "$(docked_icon)" 5 5  # FLTK now lists the icon's window first
message=$(wait_for_window "$MESSAGE_WINDOW") || fail "no message when xdg-open failed"
[ "$(xprop -id "$message" WM_TRANSIENT_FOR)" = "WM_TRANSIENT_FOR(WINDOW): window id # $(printf 0x%x "$WID")" ] ||
    fail "the message does not belong to the window: $(xprop -id "$message" WM_TRANSIENT_FOR)"
# 16, 32 and 48 px: two numbers for the size and one for each pixel.
[ "$(xprop -id "$message" -notype 32c _NET_WM_ICON | tr -cd , | wc -c)" = $((3 * 2 + 16 * 16 + 32 * 32 + 48 * 48 - 1)) ] ||
    fail "the message lacks the program's icon"
dismiss_message "when xdg-open failed"
expect_no_child
rm "$record" "$SCRATCH/fail"
focus "$WID"
xdotool key space
wait_for_record "on Space"
expect_no_message "after a good start on Space"

mv "$opener" "$opener.off"
click_link
dismiss_message "when xdg-open is missing"
kill -INT "$APP_PID"
wait_for_exit 130 "on SIGINT (ended by the signal)"

# A kernel that will not tell a child's end through a file descriptor (pidfd_open refused): the failure still comes.
mv "$opener.off" "$opener" && touch "$SCRATCH/fail"
RUN_WITH=("$(command -v strace)" -qq -o /dev/null -e trace=pidfd_open -e inject=pidfd_open:error=ENOSYS)
start_program 3000 5
click_link
dismiss_message "when xdg-open failed and pidfd_open was refused"
close_window
echo PASS
