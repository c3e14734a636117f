# The Arch recipe from script/package: .SRCINFO is makepkg's; makepkg, unprivileged, builds it from the .deb by
# its sha256; pacman installs it into a private root with the .deb's files and licence, verifies and removes it.
#   bash tests/package/arch.sh DIST
source "$(dirname "$0")/../../script/xvfb.sh"
makepkg=$(dirname "$0")/../../packaging/linux/makepkg recipe=$SCRATCH/recipe root=$SCRATCH/root log=$SCRATCH/log
db=$root/var/lib/pacman
in_root() { fakeroot pacman -r "$root" -b "$db" --noconfirm "$@" &>"$log" || fail "pacman $*: $(<"$log")"; }
mkdir -p "$recipe" "$db"
chmod a+x "$SCRATCH"  # for nobody, as whom root runs makepkg
cp "$1/arch/PKGBUILD" "$1"/nudgewick_*_amd64.deb "$recipe/"
"$makepkg" "$recipe" --printsrcinfo | diff - "$1/arch/.SRCINFO" || fail ".SRCINFO is not makepkg's"
"$makepkg" "$recipe" --nodeps &>"$log" || fail "makepkg: $(<"$log")"

in_root -U --nodeps --nodeps --noscriptlet "$recipe"/*.pkg.tar.*
in_root -Qkk nudgewick-bin
{ dpkg-deb -c "$recipe"/*.deb | awk '!/^d/ {print substr($6, 2)}'; echo /usr/share/licenses/nudgewick-bin/LICENSE; } |
    sort | diff - <(find "$root" -type f ! -path "$db/*" | sed "s|^$root||" | sort) || fail "not the .deb's files"
in_root -R nudgewick-bin
[ -z "$(find "$root" -type f ! -path "$db/*")" ] || fail "pacman -R left files behind"
echo "PASS: $(basename "$recipe"/*.pkg.tar.*) built, installed and removed"
