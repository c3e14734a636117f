# The Windows downloads from script/package, under Wine in a scratch prefix:
# SHA256SUMS match; the zip holds exactly the .exe, README.txt and LICENSE.txt;
# the silent installer puts the program, its shortcut and its uninstaller entry
# in place, and the Run value only when asked; the installer shows our name, not
# NSIS's; the installed program shows its window; the uninstaller, run while it
# does, closes it and takes back every file and registry value; the switches of
# the winget manifest install silently where asked.
#   bash tests/package/windows.sh DIST PROBE.EXE  (tests/win32/probe.cpp, built by the windows preset)
shell_helpers=$(dirname "$0")/../win32  # wine.sh, over the shared Xvfb helpers
dist=$(cd "$1" && pwd) probe=${2:?the probe of tests/win32 is needed}
WINEPREFIX=$(mktemp -d)
source "$shell_helpers/wine.sh"
at_exit 'rm -rf "$WINEPREFIX"'
WINEDLLOVERRIDES+=";winemenubuilder.exe=d"  # no menu entries on the host's desktop

(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "the files do not match SHA256SUMS"
zip=$(echo "$dist"/nudgewick-*-windows-x64.zip)
top=$(basename "$zip" .zip)
listing=$(unzip -Z1 "$zip" | sort | paste -sd ' ')
[ "$listing" = "$top/LICENSE.txt $top/README.txt $top/nudgewick.exe" ] || fail "the zip holds: $listing"

start_session
env -u DISPLAY wineboot --init 2>/dev/null
wineserver -w
# NSIS runs the uninstaller from a copy in Temp, which Windows deletes at the next start.
files() { find "$WINEPREFIX/drive_c" -path '*/Temp' -prune -o -print | sort; }
# Prints the user's registry once Wine has written it out.
user_registry() { wineserver -w; cat "$WINEPREFIX/user.reg"; }
files >"$SCRATCH/files-before"

# The installer's first page, from a shortcut: its texts (probe.cpp), then Cancel.
shown=$(wine "$probe" "$(winepath -w "$(echo "$dist"/*-setup.exe)")" setup.exe shortcut | tr -d '\r')
grep -q '^Static .*Nudgewick' <<<"$shown" || fail "the installer did not show its name: $shown"
! grep -i 'nullsoft' <<<"$shown" || fail "the installer shows NSIS's branding"

install() {
    wine "$(echo "$dist"/*-setup.exe)" /S "$@" || fail "the silent install $* failed"
    user_registry >"$SCRATCH/registry"
}
has_run_value() { grep -q '^"Nudgewick"=".*nudgewick\.exe' "$SCRATCH/registry"; }

install
home=$WINEPREFIX/drive_c/users/$(id -un)
for file in AppData/Local/Programs/Nudgewick/{nudgewick.exe,uninstall.exe,README.txt,LICENSE.txt} \
    "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Nudgewick.lnk"; do
    [ -s "$home/$file" ] || fail "the installer did not make $file"
done
grep -q 'CurrentVersion\\\\Uninstall\\\\Nudgewick\]' "$SCRATCH/registry" || fail "no uninstaller entry under HKCU"
grep -q '^"DisplayVersion"="[0-9]' "$SCRATCH/registry" || fail "the uninstaller entry has no version"
has_run_value && fail "the silent install made the program start at sign-in without being asked"
install /AUTOSTART
grep -q '^"Nudgewick"=".*nudgewick\.exe\\" --minimized"$' "$SCRATCH/registry" ||
    fail "/AUTOSTART did not make the program start at sign-in behind its icon"

installed=$(du -sb "$home/AppData/Local/Programs/Nudgewick" | cut -f1)
PROGRAM="$home/AppData/Local/Programs/Nudgewick/nudgewick.exe"
start_program
# A running program cannot be deleted: the uninstaller closes it first.
wine "$home/AppData/Local/Programs/Nudgewick/uninstall.exe" /S || fail "the silent uninstall failed"
timeout 60 wineserver -w || fail "the program was still running 60 s after the uninstall"
user_registry >"$SCRATCH/registry"
left=$(grep -i nudgewick "$SCRATCH/registry" || true)
[ -z "$left" ] || fail "the uninstaller left in the registry: $left"
files | diff "$SCRATCH/files-before" - >"$SCRATCH/files-diff" || fail "the uninstaller left: $(<"$SCRATCH/files-diff")"

# The switches winget passes, from its manifest: silent, into a folder of the user's choice.
switch() { sed -n "s/^ *$1: //p" "$dist"/winget/*.installer.yaml; }
wine "$(echo "$dist"/*-setup.exe)" "$(switch Silent)" "$(switch InstallLocation | sed 's/<INSTALLPATH>/C:\\Chosen/')" ||
    fail "the install with winget's switches failed"
[ -s "$WINEPREFIX/drive_c/Chosen/nudgewick.exe" ] || fail "winget's switches did not install into the folder given"
echo "PASS: $(basename "$zip"), $(basename "$(echo "$dist"/*-setup.exe)"); $installed bytes installed"
