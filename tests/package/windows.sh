# The Windows downloads from script/package, under Wine in a scratch prefix: SHA256SUMS match; the zip holds
# exactly the .exe, README.txt and LICENSE.txt; the installer shows our name, not NSIS's; the MSI's tables hold
# winget's codes, an icon, the shortcut and the Run value's condition. The installer, then the MSI, silently:
# the program, its shortcut, one uninstaller entry of winget's publisher and address, the Run value as asked
# (the MSI's second install: a raised version); the removal, while the program runs, closes it and takes back
# every file and registry value. winget's switches install where asked.
#   bash tests/package/windows.sh DIST PROBE.EXE WXS  (tests/win32/probe.cpp; the MSI's source)
dist=$(cd "$1" && pwd) probe=${2:?the probe of tests/win32 is needed} wxs=${3:?the MSI\'s .wxs is needed}
WINEPREFIX=$(mktemp -d)
export NUDGEWICK_FACTS=${NUDGEWICK_FACTS:-$(dirname "$0")/../../build/package/windows/facts.sh}  # script/package's
source "$(dirname "$0")/../win32/wine.sh"  # over the shared Xvfb helpers
at_exit 'rm -rf "$WINEPREFIX"'
WINEDLLOVERRIDES+=";winemenubuilder.exe=d"  # no menu entries on the host's desktop

(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "the files do not match SHA256SUMS"
zip=$(echo "$dist"/nudgewick-*-windows-x64.zip) setup=$(echo "$dist"/*-setup.exe) msi=$(echo "$dist"/*-x64.msi)
top=$(basename "$zip" .zip)
listing=$(unzip -Z1 "$zip" | sort | paste -sd ' ')
[ "$listing" = "$top/LICENSE.txt $top/README.txt $top/nudgewick.exe" ] || fail "the zip holds: $listing"
version=${top#nudgewick-} && version=${version%-windows-x64} next=${version}.1
table() { msiinfo export "$1" "$2" | tr -d '\r'; }
winget() { sed -n "s/^[ -]*$1: \"\?\([^\"]*\)\"\?$/\1/p" "$dist"/winget/*.yaml; }
run=$(table "$msi" Registry | awk -F'\t' '$4 == "Nudgewick" {print $6}')  # the Run value's component
# The MSI's tables, a row like each: winget's codes, the icon, the shortcut in ProgramMenuFolder (every user's
# Start menu on Windows; Wine, lacking those, uses the user's), the Run value's condition.
for row in "Property ^ProductCode\t$(winget ProductCode | grep "{")$" "Property ^UpgradeCode\t$(winget UpgradeCode)$" \
    "Property ^ARPPRODUCTICON\t." "Shortcut ^\w+\tProgramMenuFolder\tNudgewick" "Component ^$run\t.*\tAUTOSTART = 1"; do
    table "$msi" "${row%% *}" | grep -P "${row#* }" >/dev/null || fail "the MSI has no $row"
done
next_msi=$SCRATCH/nudgewick-$next-x64.msi
"$(dirname "$0")"/../../packaging/windows/msi "$wxs" "$next_msi" -D Version="$next" \
    -D ProductCode="$(tr a-z A-Z </proc/sys/kernel/random/uuid)" || fail "no MSI of version $next"

start_session
env -u DISPLAY wineboot --init 2>/dev/null
wineserver -w
# NSIS runs the uninstaller from a copy in Temp, which Windows deletes at the next start.
files() { find "$WINEPREFIX/drive_c" -path '*/Temp' -prune -o ! -path '*/windows/Installer' -print | sort; }
files >"$SCRATCH/files-before"

# The installer's first page, from a shortcut: its texts (probe.cpp), then Cancel.
shown=$(wine "$probe" "$(winepath -w "$setup")" setup.exe shortcut | tr -d '\r')
grep -q '^Static .*Nudgewick' <<<"$shown" || fail "the installer did not show its name: $shown"
! grep -i 'nullsoft' <<<"$shown" || fail "the installer shows NSIS's branding"
# Under a German Windows, NSIS's German page title (from its own file), and our texts as de.po has them.
title=$(sed -n 's/^ *${LangFileString} MUI_TEXT_LICENSE_TITLE "\(.*\)"\r$/\1/p' /usr/share/nsis/Contrib/Language\ files/German.nsh) &&
    [ -n "$title" ] || fail "NSIS's German.nsh has no license page title"
LC_ALL=de_DE.UTF-8 wine "$probe" "$(winepath -w "$setup")" setup.exe shortcut | tr -d '\r' | grep -x "Static [0-9 ]*$title" >/dev/null ||
    fail "under a German locale, the installer's first page is not in German"
mkdir -p "$SCRATCH/de/LC_MESSAGES" && msgfmt -o "$SCRATCH/de/LC_MESSAGES/nudgewick.mo" "$(dirname "$0")"/../../po/de.po
nsh=$(dirname "$wxs")/packaging/nudgewick_languages.nsh
texts=$(sed -n 's/^LangString \(\w*\) ${LANG_ENGLISH} "\(.*\)"$/\1 \2/p' "$nsh") && [ -n "$texts" ] || fail "$nsh has no texts"
while read -r name english; do
    german=$(TEXTDOMAINDIR=$SCRATCH LANGUAGE=de LANG=C.UTF-8 gettext -d nudgewick "$english")
    grep -qxF "LangString $name \${LANG_GERMAN} \"$german\"" "$nsh" || fail "the installer's $name is not de.po's \"$german\""
done <<<"$texts"

shortcut="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Nudgewick.lnk"
facts=$(winget Publisher)$'\n'$(winget PublisherUrl)
registry() { wineserver -w; cat "$WINEPREFIX/$1"; }  # once Wine has written it out
# The uninstaller entries of Nudgewick in the registry file $1: their version, publisher and address.
entries() {
    registry "$1" | awk -F'"' '/^\[/ {entry = /CurrentVersion\\\\Uninstall\\\\/} entry && /^"/ {value[$2] = $4}
        /^$/ && value["DisplayName"] == "Nudgewick" {
            print value["DisplayVersion"] "\n" value["Publisher"] "\n" value["URLInfoAbout"] }
        /^$/ {delete value}'
}
# grep reads on to the end: with -q, cat would fail on the closed pipe.
run_value() { registry "$1" | grep '^"Nudgewick"=".*nudgewick\.exe\\" --minimized"$' >/dev/null; }
installed() {  # KIND FOLDER REGISTRY VERSION: the files, the shortcut and one uninstaller entry of VERSION
    for file in "$WINEPREFIX/drive_c/$2"/{nudgewick.exe,README.txt,LICENSE.txt} "$shortcut"; do
        [ -s "$file" ] || fail "$1: the install did not make $file"
    done
    [ "$(entries "$3")" = "$4"$'\n'"$facts" ] || fail "$1: uninstaller entries, want one of $4: $(entries "$3")"
}
nsis_first() { wine "$setup" /S /AUTOSTART; }
nsis_again() { wine "$setup" /S; }
nsis_remove() { wine "$WINEPREFIX/drive_c/$folder/uninstall.exe" /S; }
msi_first() { wine msiexec /i "$(winepath -w "$msi")" /qn AUTOSTART=1; }
msi_again() { wine msiexec /i "$(winepath -w "$next_msi")" /qn; }  # an upgrade
msi_remove() { wine msiexec /x "$(winepath -w "$next_msi")" /qn; }
# Each installer: where it puts the program, the registry its entries go to, the version after the second install.
while IFS='|' read -r -u 3 kind folder registry again; do
    "${kind}_first" || fail "$kind: the silent install failed"
    installed "$kind" "$folder" "$registry" "$version"
    run_value "$registry" || fail "$kind: asked to, the install did not make the program start at sign-in"
    "${kind}_again" || fail "$kind: the second silent install failed"
    installed "$kind" "$folder" "$registry" "$again"
    ! run_value "$registry" || fail "$kind: installed again without being asked, the program still starts at sign-in"
    PROGRAM=$WINEPREFIX/drive_c/$folder/nudgewick.exe
    start_program
    "${kind}_remove" || fail "$kind: the silent removal failed"
    timeout 60 wineserver -w || fail "$kind: the program was still running 60 s after the removal"
    left=$(grep -i nudgewick "$WINEPREFIX"/{user,system}.reg || true)
    [ -z "$left" ] || fail "$kind: the removal left in the registry: $left"
    files | diff "$SCRATCH/files-before" - >"$SCRATCH/diff" || fail "$kind: the removal left: $(<"$SCRATCH/diff")"
done 3<<EOF
nsis|users/$(id -un)/AppData/Local/Programs/Nudgewick|user.reg|$version
msi|Program Files/Nudgewick|system.reg|$next
EOF

# The switches winget passes, from its manifest: silent, into a folder of the user's choice.
wine "$setup" "$(winget Silent)" "$(winget InstallLocation | sed 's/<INSTALLPATH>/C:\\Chosen/')" ||
    fail "the install with winget's switches failed"
[ -s "$WINEPREFIX/drive_c/Chosen/nudgewick.exe" ] || fail "winget's switches did not install into the folder given"
echo "PASS: $(basename "$zip"), $(basename "$setup"), $(basename "$msi")"
