# Under Wine: raw command lines as a shortcut hands them over, read back from the window or the message,
# with the text sizes at 96 dpi; from a console or a script only printed (--check names SendInput); a 5 px swing the button stops;
# Enter on the button and on the web address, which Tab reaches last; the floor message on Tab only; the
# hotkey, which also stops and resumes the swing, as --toggle does (--status: 3), unlike messages no start sends;
# what a screen reader gets through Active Accessibility.
# CTest runs it as: bash window.sh NUDGEWICK.EXE PROBE.EXE ADDRESS, in the Wine prefix the tests share.
source "$(dirname "$0")/wine.sh"
PROBE=$2

start_session
# Each row starts nudgewick.exe alone (a second copy would leave at once) from a shortcut, a script or a console
# (where it only prints, so that it ends by itself), and wants the button's caption and the boxes (pixels,
# interval) or the message's button, then the exit status (probe.cpp says what it prints). \t stands for a tab.
probe() { timeout 60 wine "$PROBE" "Z:${PROGRAM//\//\\}" "${1//\\t/$'\t'}" "${@:2}" 2>"$SCRATCH/err" | tr -d '\r'; }
while IFS='|' read -r commandLine from want; do
    shown=$(probe "$commandLine" "$from") || fail "[$commandLine] from a $from: the probe failed ($?): $shown"
    got=$(awk '$1 == "Button" || $1 == "Edit" || $1 == "exit" {printf "%s ", $NF}' <<<"$shown")
    [ "$got" = "$want " ] || fail "[$commandLine] from a $from showed $got, not $want:"$'\n'"$shown"
    awk '($1 == "Edit" || $1 == "Button") && $2 < 11 || $1 == "Edit" && $3 > $4 || $1 == "Static" && $2 < 10 {
        print; bad = 1 } END { exit bad }' <<<"$shown" || fail "[$commandLine]: text too small, or too big for its box"
    [[ $commandLine != *--version ]] || grep -Eqx "(console )?$NUDGEWICK_NAME ${NUDGEWICK_VERSION//./\\.}" <<<"$shown" ||
        fail "--version from a $from printed: $shown"
    # Wine cannot say whether the session is locked: the lock's line is the last.
    [[ $commandLine != *--check ]] || { grep -q '^console route: SendInput' <<<"$shown" &&
        [[ $(grep '^console' <<<"$shown" | tail -n 1) == "console lock: "?* ]]; } ||
        fail "--check from a $from printed: $shown"
    [ "$from" != script ] || grep -q '^nudgewick: the interval "12x"' "$SCRATCH/err" ||
        fail "a bad interval printed: $(<"$SCRATCH/err")"
    # In a message's proportional font blanks line up no columns.
    ! grep -q '^ ' <<<"$shown" || fail "[$commandLine]: a message in columns: $shown"
done <<'EOF'
"nudgewick.exe"   |shortcut|Stop 0 0 0
nudgewick.exe|shortcut|Stop 3 10000 0
"C:\Program Files\nudgewick.exe"\t1000 -7|shortcut|Stop -7 3000 0
C:\"Program Files"\nudgewick.exe 4000 5|shortcut|Stop 5 4000 0
"C:\Program Files\nudgewick.exe 4000|shortcut|Stop 3 10000 0
nudgewick.exe --help|shortcut|OK 0
nudgewick.exe --version|console|0
nudgewick.exe --check|console|0
nudgewick.exe 12x 5|script|2
nudgewick.exe 12x 5|shortcut|OK 2
EOF
grep -Eq '^Static 1[1-9] [0-9]+ [0-9]+ [A-Z][^"]*"12x"' <<<"$shown" && grep -q '^Usage: ' <<<"$shown" ||
    fail "a bad interval: want a sentence naming it, then the usage, not: $shown"

# hold_hotkey MODIFIERS LETTER: a probe holds the hotkey, or fails to; sets HELD to what RegisterHotKey said.
hold_hotkey() {
    : >"$SCRATCH/holder"
    wine "$PROBE" hotkey "$@" >>"$SCRATCH/holder" 2>/dev/null &
    HOLDER_PID=$!
    for _ in {1..300}; do [ -s "$SCRATCH/holder" ] && break; sleep 0.1; done
    HELD=$(tr -d '\r' <"$SCRATCH/holder")
}
at_exit 'stop_pid HOLDER_PID'

mkdir "$SCRATCH/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$SCRATCH" >"$SCRATCH/bin/xdg-open"
chmod +x "$SCRATCH/bin/xdg-open"

# Active Accessibility, asked on the program's thread as Windows asks it for a client: each box is named by the
# label just before it, the button by its caption; the web address is a link whose default action opens it. (Wine
# gives the button and the labels no role of their own, where Windows says push button and text.)
PATH="$SCRATCH/bin:$PATH" probe "nudgewick.exe 3000 5" shortcut accessible >"$SCRATCH/accessible"
for want in "Button .*|Stop||" "Edit text|Pixels||Pixels" "Edit text|Interval (Milliseconds)||Interval (Milliseconds)" \
    "Static link|$ADDRESS|Jump|.*"; do
    grep -qx "accessible $want" "$SCRATCH/accessible" || fail "not told '$want':"$'\n'"$(cat "$SCRATCH/accessible")"
done
wait_until "the link's default action did not open it" '[ "$(cat "$SCRATCH/opened" 2>/dev/null)" = "$ADDRESS" ]'
rm "$SCRATCH/opened"
PROGRAM_ENV=(PATH="$SCRATCH/bin:$PATH")
start_program --hotkey ctrl+alt+n 3000 5
# Wine doubles relative moves above 6 pixels, hence 5; and it knows where the
# pointer is only over one of its windows, hence a blank part of nudgewick's.
eval "$(xdotool getwindowgeometry --shell "$WID")"  # X Y WIDTH HEIGHT of the client area
twips() { echo $(($1 * WIDTH / CLIENT_TWIPS[2])); }  # the layout's twips in the client area's pixels
column=$((X + WIDTH / 3)) row=$((Y + HEIGHT / 2))
xdotool mousemove --sync "$column" "$row"
expect_swing "$(track_pointer 13 2)" "$column" "$row" 5 2 3000
# The button's middle.
xdotool mousemove --sync $((X + $(twips $((BUTTON_TWIPS[0] + BUTTON_TWIPS[2] / 2))))) \
    $((Y + $(twips $((BUTTON_TWIPS[1] + BUTTON_TWIPS[3] / 2))))) click 1
xdotool mousemove --sync "$column" "$row"
expect_still 8

# The button has the focus: Enter clicks it.
focus "$WID"
xdotool key Return
expect_swing "$(track_pointer 7 2)" "$column" "$row" 5 2 3000

# Two Tabs reach the interval box and select its text.
xdotool key --delay 100 Tab Tab
xdotool type --delay 50 2500
xdotool key --delay 100 Return Escape
sleep 1
expect_no_message "on Enter or Escape in the interval box"
[ -n "$(windows "$MAIN_WINDOW")" ] || fail "Enter or Escape closed the window"

# Tab leaves the box.
xdotool key Tab
dismiss_message "when Tab left the box with 2500"
sleep 2
expect_no_message "again once dismissed"

# That Tab took the focus to the web address, which Enter opens, and so does Space once the focus is back: Wine's
# browser runs the first of its browsers on the PATH, here one that notes the address. Wine loses track
# of the active window when cmd has started it, so another program takes the focus in between.
# Under load Wine can drop a key that comes while it activates the window again: pressed once more, as a user would.
opened() { cat "$SCRATCH/opened" 2>/dev/null | wc -l; }
press_to_open() {  # KEY: KEY opens the web address once more
    local want=$(($(opened) + 1))
    for _ in 1 2; do
        focus "$WID"
        xdotool key "$1"
        for _ in {1..50}; do [ "$(opened)" = "$want" ] && return; sleep 0.2; done
    done
    fail "the web address was not opened once on $1: $(cat "$SCRATCH/opened" 2>/dev/null)"
}
press_to_open Return
probe "nudgewick.exe --version" shortcut >/dev/null
press_to_open space
grep -qvx "$ADDRESS" "$SCRATCH/opened" && fail "opened: $(<"$SCRATCH/opened")"

# The hotkey is the program's (another program's RegisterHotKey fails with ERROR_HOTKEY_ALREADY_REGISTERED)
# and toggles the ticks while another window has the focus; Wine hears keys only while one of its own has it.
hold_hotkey 3 N
[ "$HELD" = "error 1409" ] || fail "another program could register ctrl+alt+n: $HELD"
focus "$(wait_for_window '^probe$')"
xdotool mousemove --sync "$column" "$row"
xdotool key ctrl+alt+n
read -r x y < <(pointer)
expect_still 8
xdotool key ctrl+alt+n
track=$(track_pointer 13 2)  # the pointer was put back meanwhile: the nudges may start either way
distance=$(($(awk 'NR == 2 {print $2}' <<<"$track") - x))
[ "${distance#-}" = 5 ] || fail "the hotkey did not resume the ticks:"$'\n'"$track"
expect_swing "$track" "$x" "$y" "$distance" 2 3000
wine "$PROGRAM" --toggle >/dev/null
answers=$(wine "$PROBE" copydata | tr -d '\r')
[[ $answers =~ ^(0\ ){20,}1\ $ ]] || fail "the copy took messages no start or desktop sends: $answers"
expect_still 8
wine "$PROGRAM" --status >/dev/null && fail "--status after --toggle ended with status 0"
wine "$PROGRAM" --toggle >/dev/null
[ "$(track_pointer 13 2 | wc -l)" = 3 ] || fail "--toggle did not resume the ticks"
stop_pid HOLDER_PID
stop_pid APP_PID
echo PASS
