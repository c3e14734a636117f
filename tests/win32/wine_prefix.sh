# Makes the Wine prefix the Windows tests share, unless it exists already.
set -euo pipefail
[ -f "$WINEPREFIX/system.reg" ] || env -u DISPLAY wineboot --init
wineserver -w
