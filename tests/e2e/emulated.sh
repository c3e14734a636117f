# The cross-built program under its emulator, watched by this machine's X helper: its window maps with the build's
# title, --check names XTEST, a still pointer swings right then left, a second start's --status reaches the running
# copy, closing the window ends it with 0.  bash emulated.sh PROGRAM X_HELPER GENERATED_VERSION_H EMULATOR...
source "$(dirname "$0")/common.sh"
RUN_WITH=("${@:4}")
# The title from the build's own generated header, as a pattern.
title=$(sed -n 's/.*kWindowTitle = "\(.*\)";$/\1/p' "$3") && [ -n "$title" ] || fail "no window title in $3"
TITLE_PATTERN="^${title//./\\.}\$"
start_xvfb

xdotool mousemove --sync 600 500
start_program 3000 5
check=$("${RUN_WITH[@]}" "$PROGRAM" --check) && grep -q '^route: XTEST' <<<"$check" || fail "--check printed: $check"
expect_swing "$(track_pointer 11 2)" 600 500 5 2 3000
"${RUN_WITH[@]}" "$PROGRAM" --status >/dev/null || fail "a second start's --status: status $?"
close_window
echo PASS
