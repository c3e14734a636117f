# Under Wine: nudgewick.exe speaks the language of the user's locale from its own tables, in the
# --help box and in a refusal printed to a script, and English in the C locale, the words expected from
# po/LANG.po. Then the window fits its texts.
# CTest runs it as: bash language.sh NUDGEWICK.EXE PROBE.EXE PO_FOLDER
source "$(dirname "$0")/wine.sh"
PROBE=$2 CATALOGUES=$3 TREE=$SCRATCH/locale
unset LANGUAGE LANG LC_MESSAGES

# Each language with its locale: pt_PT, where the .exe also has pt_BR (a lower LANGID), must pick its own.
# Russian and Hungarian, whose texts are the longest, are only fitted.
languages=("de de_DE" "ja ja_JP" "pt_PT pt_PT")
fitted=("${languages[@]}" "ru ru_RU" "hu hu_HU")
# Wine takes the user's language from the Unix locale.
locales=(C)
for row in "${fitted[@]}"; do
    read -r language locale <<<"$row"
    make_locales "$locale" && locales+=("$locale.UTF-8")
    mkdir -p "$TREE/$language/LC_MESSAGES"
    msgfmt -o "$TREE/$language/LC_MESSAGES/nudgewick.mo" "$CATALOGUES/$language.po" ||
        fail "msgfmt could not read $language.po"
done
# The box's text (probe.cpp says what it prints) or what a script gets on standard error.
box() { LC_ALL=$1 timeout 60 wine "$PROBE" "Z:${PROGRAM//\//\\}" "nudgewick.exe $2" shortcut "${@:3}" 2>/dev/null | tr -d '\r'; }
refusal() { LC_ALL=$1 timeout 60 wine "$PROGRAM" $2 2>&1 >/dev/null | tr -d '\r' || true; }  # it ends with status 2

start_session
USAGE=$(box C --help | sed -n 's/^Static [0-9]* [0-9]* [0-9]* Usage: //p')
[ -n "$USAGE" ] || fail "the --help box in the C locale shows no usage: $(box C --help)"
for row in "C C" "${languages[@]/%/.UTF-8}"; do
    read -r language locale <<<"$row"
    shown=$(box "$locale" --help)
    sed 's/^Static [0-9]* [0-9]* [0-9]* //' <<<"$shown" | grep -aFqx "$(translated "$language" 'Usage: %1' "$USAGE")" ||
        fail "LC_ALL=$locale: the --help box is not in its language:"$'\n'"$shown"
    said=$(refusal "$locale" "--for 3x")
    [ "$(sed -n 2p <<<"$said")" = "$(translated "$language" $'nudgewick: %1\nusage: %2' "" "$USAGE" | sed -n 2p)" ] ||
        fail "LC_ALL=$locale: --for 3x said:"$'\n'"$said"
done

# In English and each fitted language, at 96 and 144 dpi (LogPixels, read at a start; the other tests want the default):
# each text and caption within its control, in its font, each control within the client area; English, which fits
# this Wine's fonts, in the table's window.
at_exit 'wine reg delete "HKCU\Control Panel\Desktop" /v LogPixels /f >/dev/null 2>&1'
for dpi in 96 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    for locale in "${locales[@]}"; do
        shown=$(box "$locale" "" fit)
        # probe.cpp says what it prints: client WIDTH HEIGHT, then fit CLASS RIGHT BOTTOM NEEDED SPACE TEXT.
        awk '$1 == "client" { width = $2; height = $3 }
             $1 == "fit" && ($5 > $6 || $3 > width || $4 > height) { print "cut: " $0; bad = 1 }
             $1 == "fit" && $2 == "Button" && !($7 in captions) { captions[$7]; distinct++ }
             END { if (distinct != 2) { print "not both captions"; bad = 1 }; exit bad }' <<<"$shown" ||
            fail "$locale at $dpi dpi:"$'\n'"$shown"
        table="CLIENT_AT_$dpi[*]" # facts.sh: X Y WIDTH HEIGHT of the table's client area
        [ "$locale" != C ] || grep -qx "client $(cut -d ' ' -f 3- <<<"${!table}")" <<<"$shown" ||
            fail "English at $dpi dpi does not keep the table's window:"$'\n'"$shown"
    done
done
echo PASS
