"""The desktop's side of the notification-area icon on the session bus, for tests/e2e/sni.sh.

  sni_host.py watcher [nohost]   a StatusNotifierWatcher, with a panel (a host) of its own unless "nohost": prints
                                 "registered NAME" for each item that registers, and the items' signals ("NewIcon",
                                 "LayoutUpdated Go": the menu's first label, as a panel fetches it then)
  sni_host.py host               a panel registers with the watcher
  sni_host.py props|layout NAME  the item's IconName, ToolTip and Sizes ("Key value") or its menu's labels, one a line
  sni_host.py pixmap NAME SIDE FILE  how many pixels of the IconPixmap of that side differ in colour from FILE's
                                 raw RGBA bytes, once both are premultiplied, by more than rounding
  sni_host.py click NAME N       clicks entry N (1 is the top one);  activate NAME: a click on the icon
Run with Debian's /usr/bin/python3 (python3-dbus, python3-gi).
"""
import sys

import dbus

ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
WATCHER = "org.kde.StatusNotifierWatcher"


def say(*words):
    print(*words, flush=True)


def labels(menu):
    _, (_, _, children) = menu.GetLayout(0, -1, [], dbus_interface=MENU)
    return [str(child[1].get("label", "")) for child in children]


def watcher(bus, hosted):
    import dbus.service
    from gi.repository import GLib

    class Watcher(dbus.service.Object):
        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierItem(self, service):
            say("registered", service)

        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierHost(self, service):
            nonlocal hosted
            hosted = True
            self.StatusNotifierHostRegistered()

        @dbus.service.signal(WATCHER)
        def StatusNotifierHostRegistered(self):
            pass

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
        def Get(self, interface, name):
            return {"IsStatusNotifierHostRegistered": dbus.Boolean(hosted), "ProtocolVersion": dbus.Int32(0),
                    "RegisteredStatusNotifierItems": dbus.Array([], signature="s")}[name]

    def heard(*args, member=None, sender=None, path=None):
        if member == "LayoutUpdated":
            # A panel fetches the new layout at once: its labels are what the signal is for.
            args = labels(bus.get_object(sender, path))[:1]
        say(member, *args)

    Watcher(bus, "/StatusNotifierWatcher")
    for interface in (ITEM, MENU):
        bus.add_signal_receiver(heard, dbus_interface=interface, member_keyword="member", sender_keyword="sender",
                                path_keyword="path")
    bus.request_name(WATCHER, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
    say("watching")
    GLib.MainLoop().run()


def main():
    command = sys.argv[1]
    if command == "watcher":
        from dbus.mainloop.glib import DBusGMainLoop
        return watcher(dbus.SessionBus(mainloop=DBusGMainLoop()), sys.argv[2:] != ["nohost"])
    bus = dbus.SessionBus()
    if command == "host":
        return bus.get_object(WATCHER, "/StatusNotifierWatcher").RegisterStatusNotifierHost(
            "org.kde.StatusNotifierHost-test", dbus_interface=WATCHER)
    item = bus.get_object(sys.argv[2], "/StatusNotifierItem")
    props = item.GetAll(ITEM, dbus_interface=dbus.PROPERTIES_IFACE)
    menu = bus.get_object(sys.argv[2], props["Menu"])
    if command == "props":
        say("IconName", props["IconName"])
        say("ToolTip", props["ToolTip"][2])
        say("Sizes", *("%dx%d" % (w, h) for w, h, data in props["IconPixmap"] if len(data) == w * h * 4))
    elif command == "pixmap":
        side = int(sys.argv[3])
        argb = next(bytes(data) for w, h, data in props["IconPixmap"] if w == side)
        rgba = open(sys.argv[4], "rb").read()
        premultiplied = lambda alpha, colours: [alpha] + [(c * alpha + 127) // 255 for c in colours]
        say(sum(1 for n in range(0, len(rgba), 4)
                if any(abs(a - b) > 1 for a, b in zip(premultiplied(argb[n], argb[n + 1:n + 4]),
                                                      premultiplied(rgba[n + 3], rgba[n:n + 3])))))
    elif command == "layout":
        say("\n".join(labels(menu)))
    elif command == "click":
        menu.Event(int(sys.argv[3]), "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0), dbus_interface=MENU)
    elif command == "activate":
        item.Activate(0, 0, dbus_interface=ITEM)


main()
