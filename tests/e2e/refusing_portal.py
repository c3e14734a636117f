# A stand-in for xdg-desktop-portal's GlobalShortcuts on the test's session bus: it creates each session and
# refuses each bind, as a desktop whose user said no. Run with /usr/bin/python3, until stopped.
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass


class Portal(dbus.service.Object):
    # The Response comes from the request's object once the call has been answered.
    def answer(self, sender, token, code, results):
        request = Request(self.connection, "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token))
        GLib.idle_add(lambda: request.Response(code, dbus.Dictionary(results, signature="sv")) and False)
        return dbus.ObjectPath(request.__dbus_object_path__)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["session_handle_token"])
        return self.answer(sender, options["handle_token"], 0, {"session_handle": session})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender):
        return self.answer(sender, options["handle_token"], 1, {})


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, PATH)
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
GLib.MainLoop().run()
