# Makes the Wine prefix the Windows tests share, unless it exists already.
source "$(dirname "$0")/wine.sh"
[ -f "$WINEPREFIX/system.reg" ] || env -u DISPLAY wineboot --init
wineserver -w
