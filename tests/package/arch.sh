# The Arch recipe from script/package: its .SRCINFO is makepkg's; makepkg, unprivileged, builds it from
# the .deb, which must match its sha256; pacman installs it into a private root with the .deb's files and
# the licence, verifies and removes it; it names a package for each library the program is linked with.
#   bash tests/package/arch.sh DIST
source "$(dirname "$0")/../../script/xvfb.sh"
makepkg=$(dirname "$0")/../../packaging/linux/makepkg recipe=$SCRATCH/recipe root=$SCRATCH/root
in_root() {
    fakeroot pacman --root "$root" --dbpath "$root/var/lib/pacman" --noconfirm "$@" >"$SCRATCH/log" 2>&1 ||
        fail "pacman $*: $(<"$SCRATCH/log")"
}
mkdir -p "$recipe" "$root/var/lib/pacman"
chmod a+x "$SCRATCH"  # for nobody, as whom root runs makepkg
cp "$1/arch/PKGBUILD" "$1"/nudgewick_*_amd64.deb "$recipe/"
"$makepkg" "$recipe" --printsrcinfo | diff - "$1/arch/.SRCINFO" || fail ".SRCINFO is not makepkg's"
"$makepkg" "$recipe" --nodeps >"$SCRATCH/log" 2>&1 || fail "makepkg: $(<"$SCRATCH/log")"

in_root -U --nodeps --nodeps --noscriptlet "$recipe"/*.pkg.tar.*
in_root -Qkk nudgewick-bin
in_root -Qlq nudgewick-bin
{ dpkg-deb -c "$recipe"/*.deb | awk '!/^d/ {print substr($6, 2)}'; echo /usr/share/licenses/nudgewick-bin/LICENSE; } |
    sort | diff - <(grep -v '/$' "$SCRATCH/log" | sed "s|^$root||" | sort) || fail "not the .deb's files and licence"
noted=$(sed -n '/^depends=(/,/^)/s/.*#//p' "$recipe/PKGBUILD" | tr -s ' ' '\n')  # "package  # library..."
for library in $(objdump -p "$root/usr/bin/nudgewick" | awk '$1 == "NEEDED" {print $2}'); do
    grep -qxF "$library" <<<"$noted" || fail "no package in depends is noted for $library"
done
in_root -R nudgewick-bin
[ -z "$(find "$root" -type f ! -path "$root/var/lib/pacman/*")" ] || fail "pacman -R left files behind"
echo "PASS: $(basename "$recipe"/*.pkg.tar.*) built, installed and removed"
