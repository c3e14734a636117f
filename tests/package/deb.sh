# The .deb for ARCH (Debian's name; amd64 unless given) from script/package: lintian, desktop-file-validate and
# appstreamcli pass; another architecture's holds the amd64 one's files and depends on the same packages; unpacked
# into a scratch root it holds what a desktop needs, is a program for ARCH's processor (run under qemu when that
# is not this machine's), answers --version, and starts on a private X server with its window, class and icon.
#   bash tests/package/deb.sh DIST [ARCH]
# The facts of script/package's Linux build.
export NUDGEWICK_FACTS=${NUDGEWICK_FACTS:-$(dirname "$0")/../../build/package/linux-release/facts.sh}
source "$(dirname "$0")/../e2e/common.sh"
arch=${2:-amd64} processor=$(dpkg-architecture -a "${2:-amd64}" -q DEB_HOST_GNU_CPU 2>/dev/null)
deb=$(echo "$1"/nudgewick_*_"$arch".deb) reference=$(echo "$1"/nudgewick_*_amd64.deb)
[ -f "$deb" ] || fail "no $arch .deb in $1"
version=$(dpkg-deb -f "$deb" Version)
[ "$arch" = "$(dpkg --print-architecture)" ] || RUN_WITH=("qemu-$processor-static" -L /)

facts() { dpkg-deb -c "$1" | awk '{print $1, $6}'; dpkg-deb -f "$1" Depends | sed 's/ ([^)]*)//g'; }
diff <(facts "$reference") <(facts "$deb") || fail "the $arch .deb's files or dependencies are not the amd64 one's"

lintian --fail-on error,warning "$deb" >"$SCRATCH/lintian" 2>&1 || fail "lintian: $(<"$SCRATCH/lintian")"
root=$SCRATCH/root
dpkg-deb -x "$deb" "$root"
desktop=$(echo "$root"/usr/share/applications/*.desktop)
id=$(basename "$desktop" .desktop)
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$SCRATCH/appstream" 2>&1 ||
    fail "appstreamcli: $(<"$SCRATCH/appstream")"

# Each language the package speaks also names and describes the program in its menus and software centres.
for mo in "$root"/usr/share/locale/*/LC_MESSAGES/nudgewick.mo; do
    language=$(basename "$(dirname "$(dirname "$mo")")")
    grep -q "^Comment\[$language\]=" "$desktop" || fail "the desktop entry has no $language comment"
    grep -q "<summary xml:lang=\"$language\">" "$root/usr/share/metainfo/$id.metainfo.xml" ||
        fail "the metainfo has no $language summary"
done

icons=$root/usr/share/icons/hicolor
for file in usr/bin/nudgewick usr/share/man/man1/nudgewick.1.gz usr/share/doc/nudgewick/{copyright,changelog.gz} \
    "${icons#"$root"/}"/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/"$id".png \
    "${icons#"$root"/}/scalable/apps/$id.svg"; do
    [ -s "$root/$file" ] || fail "the package lacks $file"
done
for line in "Icon=$id" "StartupWMClass=${NUDGEWICK_X11_NAME^}" "Exec=/usr/bin/nudgewick" \
    "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input" "Exec=/usr/bin/nudgewick --toggle"; do
    grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done
man=$root/usr/share/man/man1/nudgewick.1.gz
zgrep -qF "\"Nudgewick $version\"" "$man" || fail "the man page does not carry version $version"
# help2man finds the synopsis only when --help starts with "Usage:".
zgrep -qx '\.SH SYNOPSIS' "$man" || fail "the man page has no synopsis: does --help start with \"Usage:\"?"

PROGRAM=$root/usr/bin/nudgewick
machine=$(file -b "$PROGRAM" | awk -F', ' '{print $2}')
grep -qiE "${processor//_/[-_]}" <<<"$machine" || fail "the program is for $machine, not $processor"
answer=$("${RUN_WITH[@]}" "$PROGRAM" --version)
[ "$answer" = "Nudgewick $version" ] || fail "--version printed: $answer"
start_xvfb
start_program
class=$(xprop -id "$WID" WM_CLASS)
[ "$class" = "WM_CLASS(STRING) = \"$NUDGEWICK_X11_NAME\", \"${NUDGEWICK_X11_NAME^}\"" ] || fail "the window's class: $class"
sizes=$(xprop -id "$WID" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | paste -sd ' ')
[ "$sizes" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48)" ] || fail "the window's icons: ${sizes:-none}"
echo "PASS: $(basename "$deb") ($machine); $(find "$root" -type f -printf '%s\n' | awk '{s += $1} END {print s}') bytes installed"
