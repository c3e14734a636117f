# The options the downloads document are the program's own: the zip's README.txt, the .deb's manual page
# and the .deb's program's --help name the same ones.
#   bash tests/package/options.sh DIST
source "$(dirname "$0")/../../script/xvfb.sh"
dist=$1
options() { grep -oE -- '(^|[^[:alnum:]-])--[a-z][a-z-]*' | grep -oE -- '--[a-z][a-z-]*' | sort -u | paste -sd ' '; }

deb=$(echo "$dist"/nudgewick_*_amd64.deb)
dpkg-deb -x "$deb" "$SCRATCH/root"
help=$("$SCRATCH/root/usr/bin/nudgewick" --help | options)
manual=$(zcat "$SCRATCH/root/usr/share/man/man1/nudgewick.1.gz" | sed -E 's/\\f[BIRP]//g; s/\\-/-/g' | options)
readme=$(unzip -p "$(echo "$dist"/nudgewick-*-windows-x64.zip)" '*/README.txt' | options)
[ "$manual" = "$help" ] || fail "the manual page names $manual; --help names $help"
[ "$readme" = "$help" ] || fail "the zip's README.txt names $readme; --help names $help"
echo "PASS: the manual page, README.txt and --help name the same options: $help"
