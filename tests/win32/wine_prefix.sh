# Makes the Wine prefix the Windows tests share, unless it exists already. Windows links its UI fonts to CJK ones;
# the prefix links Wine's to the machine's Noto Sans CJK, or Chinese, Japanese and Korean would show as boxes.
set -euo pipefail
[ -f "$WINEPREFIX/system.reg" ] || env -u DISPLAY wineboot --init
env -u DISPLAY wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'Liberation Sans' \
    /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null
wineserver -w
