# The program speaks the language gettext picks from the environment, from the catalogues installed beside
# it; the C locale speaks English whatever LANGUAGE says.  Run as  bash language.sh PROGRAM LOCALE_TREE
source "$(dirname "$0")/common.sh"
TREE=$(realpath "$2")
unset DISPLAY LANGUAGE LC_ALL LC_MESSAGES

# As installed: PREFIX/bin/nudgewick finds PREFIX/share/locale.
mkdir -p "$SCRATCH/bin" "$SCRATCH/share"
cp "$PROGRAM" "$SCRATCH/bin/nudgewick"
ln -s "$TREE" "$SCRATCH/share/locale"
make_locales de_DE ru_RU ja_JP zh_CN
run() { env "$@" "$SCRATCH/bin/nudgewick" "${ARGS[@]}" >"$SCRATCH/out" 2>"$SCRATCH/err" || echo $? >>"$SCRATCH/err"; }
USAGE=$(ARGS=(--help); run LC_ALL=C; head -n 1 "$SCRATCH/out")
USAGE=${USAGE#Usage: }

# The first line of --help, and the refusal of a word that is no duration, with its status on its own line.
for row in "de LANG=de_DE.UTF-8" "ru LANG=ru_RU.UTF-8" "ja LANG=ja_JP.UTF-8" "zh_CN LANG=zh_CN.UTF-8" \
    "de LANGUAGE=de LANG=ja_JP.UTF-8"; do
    read -r language environment <<<"$row"
    ARGS=(--help) && run $environment
    [ "$(head -n 1 "$SCRATCH/out")" = "$(translated "$language" 'Usage: %1' "$USAGE")" ] ||
        fail "$environment: --help began: $(head -n 1 "$SCRATCH/out")"
    ARGS=(--for 3x) && run $environment
    want=$(translated "$language" $'nudgewick: %1\nusage: %2' "" "$USAGE" | sed -n 2p)
    [ "$(sed -n 2p "$SCRATCH/err")" = "$want" ] && [ "$(sed -n 3p "$SCRATCH/err")" = 2 ] ||
        fail "$environment: --for 3x said:"$'\n'"$(cat "$SCRATCH/err")"
done

# English, byte for byte, in the C locale whatever LANGUAGE asks for.
for ARGS in --help "--for 3x" --status; do
    ARGS=($ARGS)
    run LC_ALL=C && cat "$SCRATCH/out" "$SCRATCH/err" >"$SCRATCH/english"
    run LC_ALL=C LANGUAGE=de:ru && cat "$SCRATCH/out" "$SCRATCH/err" | cmp -s - "$SCRATCH/english" ||
        fail "LC_ALL=C LANGUAGE=de:ru ${ARGS[*]} was not the English"
done

# Russian's three forms: 1 and 21 share one, 2 and 5 have one each.
russian() { TEXTDOMAINDIR=$TREE LANGUAGE=ru LANG=ru_RU.UTF-8 ngettext -d nudgewick "$@"; }  # ONE OTHER COUNT
forms=()
for count in 1 2 5 21; do forms+=("$(russian 'Run for %1 hour' 'Run for %1 hours' $count)"); done
[ "${forms[0]}" = "${forms[3]}" ] && [ "$(printf '%s\n' "${forms[@]}" | sort -u | wc -l)" = 3 ] ||
    fail "Russian plural forms for 1, 2, 5, 21: ${forms[*]}"
# A second start says the running copy's answer in the second start's language, not in the copy's.
start_xvfb
LC_ALL=C "$SCRATCH/bin/nudgewick" 2>/dev/null &
APP_PID=$!
ARGS=(--status)
# Until the copy answers: status 0, nothing on standard error.
for _ in {1..100}; do run LC_ALL=C && [ ! -s "$SCRATCH/err" ] && break || sleep 0.1; done
english=$(cat "$SCRATCH/out")
run LANG=de_DE.UTF-8
[ "$(cat "$SCRATCH/out")" = "$(translated de 'nudging every %1 s' "${english//[^0-9]/}")" ] ||
    fail "LANG=de_DE.UTF-8 --status to a copy in the C locale: $(cat "$SCRATCH/out" "$SCRATCH/err")"
ARGS=(--quit) && run LC_ALL=C && wait "$APP_PID" && APP_PID=
echo PASS
