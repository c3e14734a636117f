# Under Wine: nudgewick.exe speaks the language of the user's locale from its own tables, in the
# --help box and in a refusal printed to a script, and English in the C locale. The expected words come from
# the catalogues themselves (po/LANG.po, through gettext(1)), so that a fault shows as a text in the wrong
# language, not as a changed sentence.
# CTest runs it as: bash language.sh NUDGEWICK.EXE PROBE.EXE PO_FOLDER, in the Wine prefix the tests share.
source "$(dirname "$0")/wine.sh"
PROBE=$2 CATALOGUES=$3
unset LANGUAGE LANG LC_MESSAGES

# Each language with its locale: pt_PT, where the .exe also has pt_BR (a lower LANGID), must pick its own.
languages=("de de_DE" "ja ja_JP" "pt_PT pt_PT")
# Wine takes the user's language from the Unix locale. The locales come from localedef, in a folder of the
# test's own (LOCPATH), so that the machine's list of locales stays as it is.
export LOCPATH=$SCRATCH/locales
mkdir -p "$LOCPATH"
for row in "${languages[@]}"; do
    read -r language locale <<<"$row"
    localedef -i $locale -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>/dev/null || [ -d "$LOCPATH/$locale.UTF-8" ] ||
        fail "localedef could not make $locale.UTF-8"
    mkdir -p "$SCRATCH/locale/$language/LC_MESSAGES"
    msgfmt -o "$SCRATCH/locale/$language/LC_MESSAGES/nudgewick.mo" "$CATALOGUES/$language.po" ||
        fail "msgfmt could not read $language.po"
done
# expected LANGUAGE TEXT [VALUE...]: the catalogue's TEXT with its %1, %2 as given; in C the English.
expected() {
    local text
    if [ "$1" = C ]; then
        text=$2
    else
        text=$(TEXTDOMAINDIR=$SCRATCH/locale LANGUAGE=$1 LANG=C.UTF-8 gettext -d nudgewick "$2")
        [ "$text" != "$2" ] || fail "the $1 catalogue does not translate \"$2\""
    fi
    text=${text//%1/${3:-}}
    echo "${text//%2/${4:-}}"
}
# The box's text (probe.cpp says what it prints) or what a script gets on standard error.
box() { LC_ALL=$1 timeout 60 wine "$PROBE" "Z:${PROGRAM//\//\\}" "nudgewick.exe $2" shortcut 2>/dev/null | tr -d '\r'; }
refusal() { LC_ALL=$1 timeout 60 wine "$PROGRAM" $2 2>&1 >/dev/null | tr -d '\r' || true; }  # it ends with status 2

start_session
USAGE=$(box C --help | sed -n 's/^Static [0-9]* [0-9]* [0-9]* Usage: //p')
[ -n "$USAGE" ] || fail "the --help box in the C locale shows no usage: $(box C --help)"
for row in "C C" "${languages[@]/%/.UTF-8}"; do
    read -r language locale <<<"$row"
    shown=$(box "$locale" --help)
    sed 's/^Static [0-9]* [0-9]* [0-9]* //' <<<"$shown" | grep -aFqx "$(expected "$language" 'Usage: %1' "$USAGE")" ||
        fail "LC_ALL=$locale: the --help box is not in its language:"$'\n'"$shown"
    said=$(refusal "$locale" "--for 3x")
    [ "$(sed -n 2p <<<"$said")" = "$(expected "$language" $'nudgewick: %1\nusage: %2' "" "$USAGE" | sed -n 2p)" ] ||
        fail "LC_ALL=$locale: --for 3x said:"$'\n'"$said"
done
echo PASS
