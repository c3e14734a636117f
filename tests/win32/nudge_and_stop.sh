#!/usr/bin/env bash
# Started with "3000 5", nudgewick.exe swings a parked pointer by exactly
# 5 pixels, right then left, and a click on its button stops the swinging.
# Wine doubles relative moves above 6 pixels, so the test keeps to 5; and it
# only knows where the pointer is while it is over one of its windows, so the
# pointer is parked on a blank part of nudgewick's own.
source "$(dirname "$0")/wine.sh"
exe=$1

# The pointer's columns seen over some seconds, distinct and sorted.
columns_during() {
    local until=$((SECONDS + $1))
    while ((SECONDS < until)); do
        [ "$(pointer_row)" = "$row" ] || fail "the pointer left its row $row for $(pointer_row)"
        pointer_column
        sleep 0.2
    done | sort -nu | xargs
}

start_session
wine "$exe" 3000 5 &
main=$(wait_for_window '^Nudgewick 1\.0$')
eval "$(xdotool getwindowgeometry --shell "$main")"  # X Y WIDTH HEIGHT of the client area
twips() { echo $(($1 * WIDTH / 4125)); }              # the layout's client area is 4125 twips wide
column=$((X + WIDTH / 3)) row=$((Y + HEIGHT / 2))

xdotool mousemove --sync "$column" "$row"
seen=$(columns_during 10)
[ "$seen" = "$column $((column + 5))" ] ||
    fail "the parked pointer should swing between columns $column and $((column + 5)), saw: $seen"

# The button: 3120,2160 twips, 975x615.
xdotool mousemove --sync $((X + $(twips 3607))) $((Y + $(twips 2467))) click 1
xdotool mousemove --sync "$column" "$row"
seen=$(columns_during 8)
[ "$seen" = "$column" ] || fail "after a click on the button the pointer should stay at $column, saw: $seen"
echo "PASS: swings by 5 pixels and stops on a click"
