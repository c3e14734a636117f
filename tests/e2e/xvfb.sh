# Sourced by the end-to-end tests: a private X server for one test.
#   start_xvfb [ARG...]  starts Xvfb on a free display, with any extra
#                        arguments, exports DISPLAY and XVFB_PID
#   stop_xvfb            stops it by PID (installed as an EXIT trap by start_xvfb)
# -noreset keeps the pointer where it is when the last client disconnects.

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

start_xvfb() {
    local fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 "$@" 3>"$fifo" 2>/dev/null &
    XVFB_PID=$!
    trap stop_xvfb EXIT
    read -r -t 10 display <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display" XVFB_PID
}
