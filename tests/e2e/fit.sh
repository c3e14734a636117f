# Every fixed text of the window within its control, in English and in each catalogue's language, at 96 and 144
# dpi: fltk_fit_check measures them in FLTK's fonts on the laid-out window, and the program, started once for
# each language and dpi, opens its window at the size that layout gives.
# Run as  bash fit.sh PROGRAM X_HELPER ADDRESS TRAY_MANAGER FIT_CHECK LOCALE_TREE
source "$(dirname "$0")/common.sh"
FIT_CHECK=$5 TREE=$(realpath "$6")
unset LANGUAGE LC_ALL LC_MESSAGES
start_xvfb

# As installed: PREFIX/bin/nudgewick finds PREFIX/share/locale.
mkdir -p "$SCRATCH/bin" "$SCRATCH/share"
cp "$PROGRAM" "$SCRATCH/bin/nudgewick" && PROGRAM=$SCRATCH/bin/nudgewick
ln -s "$TREE" "$SCRATCH/share/locale"
languages=(en)
for catalogue in "$(dirname "$0")"/../../po/*.po; do languages+=("$(basename "$catalogue" .po)"); done

"$FIT_CHECK" "$TREE" "${languages[@]}" >"$SCRATCH/windows" ||
    fail "texts cut:"$'\n'"$(grep -v '^[^ ]* [0-9]* [0-9x]*$' "$SCRATCH/windows")"
[ "$(wc -l <"$SCRATCH/windows")" = $((${#languages[@]} * 2)) ] ||
    fail "the fit check measured:"$'\n'"$(cat "$SCRATCH/windows")"
declare -A english
while read -r _ dpi size; do english[$dpi]=$size; done < <(grep '^en ' "$SCRATCH/windows")
[ "${english[96]}" = "${CLIENT_AT_96[2]}x${CLIENT_AT_96[3]}" ] &&
    [ "${english[144]}" = "${CLIENT_AT_144[2]}x${CLIENT_AT_144[3]}" ] ||
    fail "English does not keep the table's window: ${english[*]}"

size() { xwininfo -id "$WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
while read -r language dpi want; do
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi: $dpi"
    PROGRAM_ENV=(LANG=C.UTF-8 LANGUAGE="$language")
    start_program
    wait_until "$language at $dpi dpi: the window is not the $want its texts need" '[ "$(size)" = "$want" ]'
    stop_pid APP_PID
    [ "$want" = "${english[$dpi]}" ] || echo "$language at $dpi dpi: $want, English ${english[$dpi]}"
done <"$SCRATCH/windows"
echo PASS
