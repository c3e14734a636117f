# nudgewick.exe imports system DLLs only (no C++ runtime, libgcc or winpthread), carries version 1.00 and stays small.
source "$(dirname "$0")/../../script/xvfb.sh"
exe=$1 objdump=$2

imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "no imports found"
system='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|wtsapi32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
foreign=$(grep -Ev "$system" <<<"$imports" || true)
[ -z "$foreign" ] || fail "imports DLLs that are not part of Windows: $foreign"

# Version strings are UTF-16 in the resource: each name is followed by its value.
strings=$(strings -el "$exe")
for name in FileVersion ProductVersion; do
    value=$(grep -A1 -x "$name" <<<"$strings" | sed -n 2p)
    [ "$value" = 1.00 ] || fail "$name is '$value', not 1.00"
done

# The numbers too: the fixed part's signature, its structure version, then
# file and product versions 1.0.0.0, each as two little-endian words.
fixed="bd04effe 00000100 00000100 00000000 00000100 00000000"
od -An -v -tx1 "$exe" | tr -d ' \n' | grep -q "${fixed// /}" || fail "the numeric version is not 1,0,0,0"

# 394752 bytes with the deflated tables of English and all 23 catalogues, some
# 3 KB each, the texts only Linux shows left out (403968 with them; 377856 with only
# German, Japanese and Russian as UTF-16 string tables).
size=$(stat -c %s "$exe")
((size < 400 * 1024)) || fail "the .exe is $size bytes, over 400 KB"
echo "PASS: imports $(xargs <<<"$imports"); version 1.00; $size bytes"
