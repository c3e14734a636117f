# Sourced by the Windows end-to-end scripts, which CTest runs as
#   bash SCRIPT.sh NUDGEWICK.EXE
# The program runs under Wine on a private X server, in the shared prefix
# named by WINEPREFIX.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/common.sh"
: "${WINEPREFIX:?WINEPREFIX must name the prefix the tests share}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
PROGRAM=${1:-} RUN_WITH=(wine)

# Starts the X server; on exit Wine in the prefix is stopped before it.
start_session() {
    start_xvfb
    at_exit 'wineserver -k 2>/dev/null'
}

# Gives WINDOW the keyboard, and Wine a moment to activate it: under load a key
# can arrive before the activation, which then takes the focus back to where it was.
focus() {
    xdotool windowfocus --sync "$1"
    sleep 1
}
