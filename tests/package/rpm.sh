# The RPM from script/package for the processor of ARCH (Debian's name; amd64 unless given), in a private root and
# database, installs, verifies and goes without a trace; it holds ARCH's .deb's files (and of folders its own only),
# version, address and summary, is not relocatable, and requires the program's libraries and xdg-utils.
#   bash tests/package/rpm.sh DIST [ARCH]
source "$(dirname "$0")/../../script/xvfb.sh"
arch=${2:-amd64} processor=$(dpkg-architecture -a "${2:-amd64}" -q DEB_HOST_GNU_CPU 2>/dev/null)
rpm=$(echo "$1"/nudgewick-*."$processor".rpm) deb=$(echo "$1"/nudgewick_*_"$arch".deb) root=$SCRATCH/root
in_root() { fakeroot rpm --root "$root" "$@" >"$SCRATCH/log" 2>&1 || fail "rpm $*: $(<"$SCRATCH/log")"; }
query() { rpm -qp --qf "$1" "$rpm" 2>/dev/null; }
entries() { sed -E 's/^(.)\S*(\s+\S+){4}\s+\.?/\1 /' | sort; }  # ls -l's lines as "d PATH", "- PATH" or "l PATH"

in_root --initdb && in_root -i --nodeps --ignorearch "$rpm" && in_root -V --nodeps nudgewick
query '[%{FILEMODES:perms} - - - - %{FILENAMES}\n]' | entries | grep -vx 'd /usr/share/doc/nudgewick' |
    diff <(dpkg-deb -c "$deb" | entries | grep -v '^d') - || fail "the .rpm holds other than the .deb's files"
facts=$(dpkg-deb -f "$deb" Version Homepage Description | sed -n 's/^\w*: //p')
[ "$(query '%{VERSION}\n%{URL}\n%{SUMMARY}')" = "$facts" ] || fail "not the .deb's version, address, summary"
[ "$(query '%{PREFIXES}')" = "(none)" ] || fail "the .rpm is relocatable"
needed=$(objdump -p "$root/usr/bin/nudgewick" | awk '$1 == "NEEDED" {print $2 "()(64bit)"}'; echo xdg-utils)
missing=$(comm -23 <(sort <<<"$needed") <(rpm -qpR "$rpm" 2>/dev/null | sort))
[ -z "$missing" ] || fail "the .rpm does not require $missing"
in_root -e nudgewick
[ -z "$(find "$root/usr" -type f -o -name '*nudgewick*')" ] || fail "rpm -e left files behind"
echo "PASS: $(basename "$rpm"); $(query '%{SIZE}') bytes installed"
