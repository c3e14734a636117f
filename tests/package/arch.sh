# The Arch recipe from script/package, for the processor of ARCH (Debian's name; amd64 unless given): .SRCINFO is
# makepkg's; makepkg, unprivileged, builds it from ARCH's .deb by its sha256; pacman installs it into a private root
# with the .deb's files and licence, verifies and removes it.
#   bash tests/package/arch.sh DIST [ARCH]
source "$(dirname "$0")/../../script/xvfb.sh"
makepkg=$(dirname "$0")/../../packaging/linux/makepkg recipe=$SCRATCH/recipe root=$SCRATCH/root log=$SCRATCH/log
db=$root/var/lib/pacman arch=${2:-amd64} processor=$(dpkg-architecture -a "${2:-amd64}" -q DEB_HOST_GNU_CPU 2>/dev/null)
in_root() { fakeroot pacman -r "$root" -b "$db" --arch "$processor" --noconfirm "$@" &>"$log" || fail "pacman $*: $(<"$log")"; }
mkdir -p "$recipe" "$db"
chmod a+x "$SCRATCH"  # for nobody, as whom root runs makepkg
cp "$1/arch/PKGBUILD" "$1"/nudgewick_*_"$arch".deb "$recipe/"
printf 'source /etc/makepkg.conf\nCARCH=%s\n' "$processor" >"$recipe/makepkg.conf"  # builds for that processor
"$makepkg" "$recipe" --printsrcinfo | diff - "$1/arch/.SRCINFO" || fail ".SRCINFO is not makepkg's"
"$makepkg" "$recipe" --config makepkg.conf --nodeps &>"$log" || fail "makepkg: $(<"$log")"

in_root -U --nodeps --nodeps --noscriptlet "$recipe"/*.pkg.tar.*
in_root -Qkk nudgewick-bin
{ dpkg-deb -c "$recipe"/*.deb | awk '!/^d/ {print substr($6, 2)}'; echo /usr/share/licenses/nudgewick-bin/LICENSE; } |
    sort | diff - <(find "$root" -type f ! -path "$db/*" | sed "s|^$root||" | sort) || fail "not the .deb's files"
in_root -R nudgewick-bin
[ -z "$(find "$root" -type f ! -path "$db/*")" ] || fail "pacman -R left files behind"
echo "PASS: $(basename "$recipe"/*.pkg.tar.*) built, installed and removed"
