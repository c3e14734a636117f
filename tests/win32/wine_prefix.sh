#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests share, unless it exists already.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the prefix to make}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || env -u DISPLAY wineboot --init
wineserver -w
