# Sourced after script/xvfb.sh by the Wayland tests and script/bench: a headless Wayland compositor of
# their own, sway, KWin or Mutter, each in a runtime folder of its own under $SCRATCH.
#   start_compositor sway|labwc|kwin|mutter|gnome-shell [PROGRAM...]  exports WAYLAND_DISPLAY (the socket's path) and
#                                                   DBUS_SESSION_BUS_ADDRESS (a session bus of its own);
#                                                   KWin lets each PROGRAM use its fake input
#   start_kde_portal                                KDE's RemoteDesktop portal, on KWin
#   stop_compositor                                 stops it and its bus

# Waits for the compositor's socket named like GLOB in $RUN and exports WAYLAND_DISPLAY as its path.
wait_for_socket() {
    local socket
    for _ in {1..100}; do
        socket=$(find "$RUN" -maxdepth 1 -type s -name "$1" | head -n 1)
        [ -n "$socket" ] && export WAYLAND_DISPLAY=$socket && return
        kill -0 "$COMPOSITOR_PID" 2>/dev/null || break
        sleep 0.1
    done
    fail "the compositor did not start:"$'\n'"$(tail -n 20 "$RUN.log")"
}

# A session bus that starts nothing on demand: a service started by the bus would lack the session's
# variables, and would stay. What a test needs, it starts itself.
start_bus() {
    local address pid
    cat >"$RUN.bus.conf" <<'EOF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    { read -r address && read -r pid; } < <(dbus-daemon --config-file="$RUN.bus.conf" --fork --print-address=1 \
        --print-pid=1)
    BUS_PID=$pid
    export DBUS_SESSION_BUS_ADDRESS=$address
}

# sway refuses to run as root: as root it runs as nobody, in a runtime folder of nobody's. wlroots' Xwayland
# would take a display from :0 to :32, which may be in use: the program's window has its own X server anyway.
start_sway() {
    local as=()
    start_bus  # the desktop session's, which sway itself does not use
    printf 'xwayland disable\n' >"$RUN.config"
    chmod 644 "$RUN.config"
    if [ "$(id -u)" = 0 ]; then
        chown nobody: "$RUN"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    "${as[@]}" env -i PATH="$PATH" HOME="$RUN" XDG_RUNTIME_DIR="$RUN" WLR_BACKENDS=headless \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$RUN.config" >"$RUN.log" 2>&1 &
    COMPOSITOR_PID=$!
    wait_for_socket 'wayland-*'
}

# labwc, another wlroots compositor, headless as sway; its Xwayland starts only for an X client, which none is.
start_labwc() {
    start_bus
    mkdir -p "$RUN.config"
    env -i PATH="$PATH" HOME="$RUN" XDG_RUNTIME_DIR="$RUN" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman labwc -C "$RUN.config" >"$RUN.log" 2>&1 &
    COMPOSITOR_PID=$!
    wait_for_socket 'wayland-*'
}

# The installed kwin_wayland carries a file capability that a sandbox may forbid: a copy without it, under
# the same name, runs. KWin shows its fake input to the programs that desktop entries name: those installed, and
# those it is given, under its HOME.
# QPainter compositing spares the software OpenGL's CPU.
start_kwin() {
    local home=$RUN.home program
    mkdir -p "$RUN.bin" "$home/.local/share/applications"
    cp /usr/bin/kwin_wayland "$RUN.bin/kwin_wayland"
    for program in "$@"; do
        grep -qsx "Exec=$program" /usr/share/applications/*.desktop && continue  # an installed package's entry
        printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nX-KDE-Wayland-Interfaces=%s\n' \
            "${program##*/}" "$program" org_kde_kwin_fake_input >"$home/.local/share/applications/${program##*/}.desktop"
    done
    # KWin 6 reads the entries through the menu file that XDG_MENU_PREFIX names, as in a Plasma session.
    mkdir -p "$home/.config/menus"
    printf '<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>\n' \
        >"$home/.config/menus/test-applications.menu"
    start_bus
    env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$RUN" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
        XDG_MENU_PREFIX=test- KWIN_COMPOSE=Q "$RUN.bin/kwin_wayland" --virtual --socket wayland-test --width 1024 --height 768 \
        >"$RUN.log" 2>&1 &
    COMPOSITOR_PID=$!
    wait_for_socket wayland-test
}

# MUTTER_PRELOAD: a library Mutter loads first (the tests' stand-in for GNOME Shell's indicator).
# start_mutter [gnome-shell]: GNOME Shell runs the same way, its own indicator in it; it does not start
# without a system bus to look for logind on, so it gets one of its own, and it would open on its overview,
# which takes the pointer from the windows: a session mode of the user's without it.
start_mutter() {
    local shell=() preload=${MUTTER_PRELOAD:-} address
    start_bus
    if [ "${1:-}" = gnome-shell ]; then
        { read -r address && read -r SYSTEM_BUS_PID; } < <(dbus-daemon --config-file="$RUN.bus.conf" --fork \
            --print-address=1 --print-pid=1)
        mkdir -p "$RUN.share/gnome-shell/modes"
        echo '{"parentMode": "user", "hasOverview": false}' >"$RUN.share/gnome-shell/modes/windows.json"
        shell=(DBUS_SYSTEM_BUS_ADDRESS="$address" XDG_DATA_DIRS="$RUN.share:/usr/share")
        preload=
    fi
    env -i PATH="$PATH" HOME="$RUN" XDG_RUNTIME_DIR="$RUN" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
        "${shell[@]}" ${preload:+LD_PRELOAD="$preload"} "${1:-mutter}" ${shell:+--mode=windows} \
        --headless --wayland --no-x11 --virtual-monitor 1024x768 --wayland-display=wayland-test >"$RUN.log" 2>&1 &
    COMPOSITOR_PID=$!
    wait_for_socket wayland-test
}

# KDE's RemoteDesktop portal on KWin's bus, as a Plasma session runs it: the portal's front and KDE's
# side of it, which is a Wayland client that KWin's desktop entries allow its fake input.
start_kde_portal() {
    local environment=(PATH="$PATH" HOME="$RUN.home" XDG_RUNTIME_DIR="$RUN" XDG_CURRENT_DESKTOP=KDE
        WAYLAND_DISPLAY="$WAYLAND_DISPLAY" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
    env -i "${environment[@]}" QT_QPA_PLATFORM=wayland /usr/lib/*/libexec/xdg-desktop-portal-kde >>"$RUN.log" 2>&1 &
    PORTAL_KDE_PID=$!
    env -i "${environment[@]}" /usr/libexec/xdg-desktop-portal >>"$RUN.log" 2>&1 &
    PORTAL_PID=$!
    at_exit 'stop_pid PORTAL_PID; stop_pid PORTAL_KDE_PID'
    for name in org.freedesktop.impl.portal.desktop.kde org.freedesktop.portal.Desktop; do
        gdbus wait --session --timeout 20 "$name" || fail "no $name:"$'\n'"$(tail -n 20 "$RUN.log")"
    done
}

start_compositor() {
    local name=$1
    shift
    chmod 711 "$SCRATCH"  # a compositor under another uid reaches its own files below
    RUN=$(mktemp -d "$SCRATCH/$name.XXXX")
    at_exit 'stop_compositor'
    case $name in
        sway) start_sway ;;
        labwc) start_labwc ;;
        kwin) start_kwin "$@" ;;
        mutter) start_mutter ;;
        gnome-shell) start_mutter gnome-shell ;;
        *) fail "unknown compositor $name" ;;
    esac
}

stop_compositor() {
    stop_pid COMPOSITOR_PID
    stop_pid BUS_PID
    stop_pid SYSTEM_BUS_PID
    unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
}
