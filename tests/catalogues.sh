# The template holds every text marked in the code, and each catalogue
# translates every text of the template, none fuzzy, with nothing left over.
# Run from the source root as
#   bash tests/catalogues.sh XGETTEXT... -- SOURCES... -- XGETTEXT_JOINING... -- PACKAGING_FILES...
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
texts() { msgcat --no-location --sort-output --no-wrap "$1" | grep -v '^"POT-Creation-Date:'; }

# Each pair of a command and its files adds to the template from the code.
while [ $# -gt 0 ]; do
    command=() files=()
    while [ "$1" != -- ]; do command+=("$1"); shift; done
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do files+=("$1"); shift; done
    [ $# -eq 0 ] || shift
    "${command[@]}" --output="$scratch/code.pot" "${files[@]}"
done
diff <(texts "$scratch/code.pot") <(texts po/nudgewick.pot) >"$scratch/diff" ||
    fail "po/nudgewick.pot differs from the code's texts (build the nudgewick_pot target, then msgmerge):
$(cat "$scratch/diff")"
count=$(msgattrib --no-obsolete po/nudgewick.pot | grep -c '^msgid ' || true)
count=$((count - 1))  # the header
for catalogue in po/*.po; do
    msgcmp "$catalogue" po/nudgewick.pot || fail "$catalogue lacks texts of the template"
    statistics=$(LC_ALL=C msgfmt --check --statistics --output-file=/dev/null "$catalogue" 2>&1)
    [ "$statistics" = "$count translated messages." ] || fail "$catalogue: $statistics (the template has $count)"
done
echo PASS
