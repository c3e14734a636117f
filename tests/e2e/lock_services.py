"""Stand-ins for logind's session and UPower on the private system bus and the two screen savers on the session
bus, for lock.sh: lock_services.py READY_FILE. Each line of standard input is a command of command(). Run by
Debian's /usr/bin/python3."""
import os
import sys

import dbus
import dbus.lowlevel
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
PROPS, SESSION, FDO, GNOME = ("org.freedesktop.DBus.Properties", "/org/freedesktop/login1/session/c1",
                              "org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver")
ADDRESSES = os.environ["DBUS_SYSTEM_BUS_ADDRESS"], os.environ["DBUS_SESSION_BUS_ADDRESS"]
system, session = dbus.bus.BusConnection(ADDRESSES[0]), dbus.SessionBus()


class Service(dbus.service.Object):
    """logind's manager and session, or UPower and its display device."""
    def __init__(self, bus, path, interface, values):
        super().__init__(bus, path)
        self.interface, self.values = interface, values

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.values[name]

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="u", out_signature="o")
    def GetSessionByPID(self, pid):
        return SESSION

    @dbus.service.signal(PROPS, signature="sa{sv}as")
    def PropertiesChanged(self, interface, changed, invalidated):
        pass

    def set(self, name, value):
        self.values[name] = value
        self.PropertiesChanged(self.interface, {name: value}, [])


def saver(name, path):
    class Saver(dbus.service.Object):
        active = False

        @dbus.service.method(name, out_signature="b")
        def GetActive(self):
            return self.active

        @dbus.service.signal(name, signature="b")
        def ActiveChanged(self, active):
            pass

        def set(self, name, active):
            self.active = active
            self.ActiveChanged(active)
    return Saver(session, path)


names = [dbus.service.BusName(n, bus) for n, bus in (("org.freedesktop.login1", system),
         ("org.freedesktop.UPower", system), (FDO, session), (GNOME, session))]
Service(system, "/org/freedesktop/login1", "", {})
states = {"logind": Service(system, SESSION, "org.freedesktop.login1.Session", {"LockedHint": False}),
          "fdo": saver(FDO, "/org/freedesktop/ScreenSaver"), "gnome": saver(GNOME, "/org/gnome/ScreenSaver")}
upower = Service(system, "/org/freedesktop/UPower", "org.freedesktop.UPower", {"OnBattery": False})
display = Service(system, "/org/freedesktop/UPower/devices/DisplayDevice", "org.freedesktop.UPower.Device",
                  {"Percentage": dbus.Double(80)})
FORGED = [[(SESSION, PROPS, "PropertiesChanged", "sa{sv}as", ["org.freedesktop.login1.Session", {"LockedHint": 1}, []])],
          [("/org/freedesktop/ScreenSaver", FDO, "ActiveChanged", "b", [1]), ("/org/gnome/ScreenSaver", GNOME,
                                                                                 "ActiveChanged", "b", [1])]]


def forge(pid):
    for address, signals in zip(ADDRESSES, FORGED):
        forger = dbus.bus.BusConnection(address)
        target = next(n for n in forger.list_names() if n.startswith(":") and forger.call_blocking(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetConnectionUnixProcessID",
            "s", [n]) == pid)
        for path, interface, member, signature, arguments in signals:
            message = dbus.lowlevel.SignalMessage(path, interface, member)
            message.append(*arguments, signature=signature)
            message.set_destination(target)
            forger.send_message(message)
        forger.flush()


def command(source, condition):
    """logind|fdo|gnome 0|1; battery 0|1 PERCENT; drop (the GNOME screen saver leaves); forge PID (each locking
    signal from a connection that owns no service, sent straight to the program)."""
    words = source.readline().split()
    if not words:  # the test ended
        return loop.quit()
    if words[0] in states:
        states[words[0]].set("LockedHint", words[1] == "1")
    elif words[0] == "battery":
        upower.set("OnBattery", words[1] == "1")
        display.set("Percentage", dbus.Double(float(words[2])))
    elif words[0] == "drop":
        session.release_name(GNOME)
    elif words[0] == "forge":
        forge(int(words[1]))
    return True


GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, command)
with open(sys.argv[1], "w") as ready:
    ready.write("ready\n")
loop = GLib.MainLoop()
loop.run()
