"""Any client of the user's buses calling the program wrongly, for hostile_bus.sh: hostile_bus.py PID.

Each call of the table, on the session bus (the tray item and its menu) or the accessibility bus (the window's
objects), gets an error, or a reply where it is a right call with odd values, within the bus's own wait; signals
forged by another client leave accessibility on; a second round of a thousand calls and a flood leaves the program
no bigger than the first. Prints each fault, exits 1 if there was one. Run by Debian's /usr/bin/python3.
"""
import sys
import time

import dbus
import dbus.lowlevel

PID = int(sys.argv[1])
DBUS, PROPS = "org.freedesktop.DBus", "org.freedesktop.DBus.Properties"
MENU, ITEM, AT = "com.canonical.dbusmenu", "org.kde.StatusNotifierItem", "org.a11y.atspi."
OBJECTS = "/org/a11y/atspi/accessible/"
ROOT, FRAME, BOX, BUTTON = (OBJECTS + name for name in ("root", "frame", "interval_box", "start_stop_button"))
BIG, LEAST, ALL_BITS = 2**31 - 1, -2**31, 2**32 - 1
ERROR, REPLY = "error", "reply"
session = dbus.SessionBus()
a11y = dbus.bus.BusConnection(session.call_blocking("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                                    "", []))


def name_on(bus):
    """The program's unique name on BUS, once it is there; None if it does not come."""
    for _ in range(100):
        for name in bus.list_names():
            try:
                if name.startswith(":") and bus.call_blocking(DBUS, "/org/freedesktop/DBus", DBUS,
                                                              "GetConnectionUnixProcessID", "s", [name]) == PID:
                    return name
            except dbus.exceptions.DBusException:
                pass  # a client that left meanwhile
        time.sleep(0.1)


# bus, path, interface, member, signature, arguments, what must come back
CALLS = [
    # The menu: wrong types, arguments missing and extra, unknown and huge ids, depths and lists of names.
    ("s", "/MenuBar", MENU, "GetLayout", "s", ["0"], ERROR),
    ("s", "/MenuBar", MENU, "GetLayout", "ii", [0, -1], ERROR),
    ("s", "/MenuBar", MENU, "GetLayout", "iiasi", [0, -1, [], 1], ERROR),
    ("s", "/MenuBar", MENU, "GetLayout", "iias", [BIG, -1, []], ERROR),
    ("s", "/MenuBar", MENU, "GetLayout", "iias", [0, BIG, ["label"] * 64], REPLY),
    ("s", "/MenuBar", MENU, "GetLayout", "iias", [0, -1, ["label"] * 400000], ERROR),  # read in 25 s, quadratically
    ("s", "/MenuBar", MENU, "GetGroupProperties", "aias", [[], ["x"] * 1000000], ERROR),
    # An answer for each of them would outgrow what the bus carries, and the bus dropped the program.
    ("s", "/MenuBar", MENU, "GetGroupProperties", "aias", [[1] * 4000000, []], REPLY),
    ("s", "/MenuBar", MENU, "GetProperty", "is", [1, "x" * 1000000], ERROR),
    ("s", "/MenuBar", MENU, "Event", "isvu", [BIG, "clicked", dbus.Int32(0), ALL_BITS], REPLY),
    # "Run until stopped", a million times: acted on one by one, it held the program up for seconds.
    ("s", "/MenuBar", MENU, "EventGroup", "a(isvu)", [[(5, "clicked", dbus.Int32(0), 0)] * 1000000], ERROR),
    ("s", "/MenuBar", MENU, "EventGroup", "a(isvu)", [[(BIG, "clicked", dbus.Int32(0), 0)] * 64], REPLY),
    ("s", "/MenuBar", MENU, "AboutToShowGroup", "ai", [[LEAST] * 100000], REPLY),
    ("s", "/MenuBar", MENU, "Unknown", "", [], ERROR),
    ("s", "/MenuBar", "org.example.Unknown", "GetLayout", "iias", [0, -1, []], ERROR),
    ("s", "/Unknown", MENU, "GetLayout", "iias", [0, -1, []], ERROR),
    ("s", "/MenuBar" + "/a" * 30000, MENU, "GetLayout", "iias", [0, -1, []], ERROR),  # sd-bus tried every prefix
    ("s", "/MenuBar", PROPS, "Set", "ssv", [MENU, "Version", dbus.UInt32(9)], ERROR),
    # The item.
    ("s", "/StatusNotifierItem", ITEM, "Activate", "s", ["0 0"], ERROR),
    ("s", "/StatusNotifierItem", ITEM, "Scroll", "is", [BIG, "x" * 1000000], REPLY),
    ("s", "/StatusNotifierItem", ITEM, "ContextMenu", "ii", [LEAST, BIG], REPLY),
    ("s", "/StatusNotifierItem", PROPS, "Set", "ssv", [ITEM, "Status", "Passive"], ERROR),
    # The window's objects.
    ("a", ROOT, AT + "Accessible", "GetChildAtIndex", "i", [BIG], ERROR),
    ("a", ROOT, AT + "Accessible", "GetChildAtIndex", "u", [0], ERROR),
    ("a", ROOT, AT + "Accessible", "Unknown", "", [], ERROR),
    ("a", ROOT, AT + "Unknown", "GetRole", "", [], ERROR),
    ("a", ROOT, AT + "Application", "GetLocale", "u", [ALL_BITS], REPLY),
    ("a", ROOT, PROPS, "Set", "ssv", [AT + "Accessible", "Name", "x"], ERROR),
    ("a", ROOT, AT + "Text", "GetText", "ii", [0, -1], ERROR),
    ("a", BOX, AT + "Text", "GetText", "ii", [LEAST, BIG], REPLY),
    ("a", BOX, AT + "Text", "GetTextAtOffset", "iu", [BIG, ALL_BITS], ERROR),
    ("a", BOX, AT + "Text", "GetCharacterExtents", "iu", [BIG, 99], ERROR),
    ("a", BOX, AT + "Text", "GetAttributeValue", "is", [BIG, "x" * 1000000], REPLY),
    ("a", BOX, AT + "Text", "GetBoundedRanges", "iiiiuuu", [BIG, LEAST, BIG, LEAST, ALL_BITS, ALL_BITS, 0], REPLY),
    ("a", BOX, AT + "EditableText", "InsertText", "isi", [BIG, "9" * 1000000, BIG], REPLY),
    ("a", BOX, AT + "EditableText", "DeleteText", "ii", [BIG, LEAST], REPLY),
    ("a", BUTTON, AT + "Action", "DoAction", "i", [BIG], ERROR),
    ("a", FRAME, AT + "Component", "GetAccessibleAtPoint", "iiu", [LEAST, BIG, 1], REPLY),
    ("a", FRAME, AT + "Component", "GetExtents", "u", [BIG], ERROR),
    ("a", OBJECTS + "message", AT + "Accessible", "GetRole", "", [], ERROR),  # no message is open
    ("a", OBJECTS + "unknown", AT + "Accessible", "GetRole", "", [], ERROR),
    ("a", ROOT + "/a" * 30000, AT + "Accessible", "GetRole", "", [], ERROR),
    ("a", "/org/a11y/atspi/cache", AT + "Cache", "GetItems", "s", ["x"], ERROR),
]


def call(names, row):
    """What went wrong with the row's call, if anything."""
    bus, path, interface, member, signature, arguments, want = row
    try:
        (session if bus == "s" else a11y).call_blocking(names[bus], path, interface, member, signature, arguments)
        got = REPLY
    except dbus.exceptions.DBusException as error:
        got = ERROR if error.get_dbus_name() != DBUS + ".Error.NoReply" else "no answer"
    return None if got == want else f"{member}({signature}) on {path[:60]}: {got}, want {want}"


def forge(path, interface, member, signature, *arguments):
    """A signal that another client addresses to the program, as if the bus or a service had sent it."""
    signal = dbus.lowlevel.SignalMessage(path, interface, member)
    signal.set_destination(names["s"])
    signal.append(*arguments, signature=signature)
    session.send_message(signal)


def flood(seconds):
    """Calls sent as fast as a client can, without waiting for answers; the program catches up after."""
    end = time.time() + seconds
    while time.time() < end:
        for _ in range(1000):
            message = dbus.lowlevel.MethodCallMessage(names["a"], ROOT, AT + "Accessible", "GetChildren")
            message.set_no_reply(True)
            a11y.send_message(message)
        a11y.flush()
    a11y.call_blocking(names["a"], ROOT, AT + "Accessible", "GetRole", "", [], timeout=120)


def memory():
    return next(int(line.split()[1]) for line in open(f"/proc/{PID}/status") if line.startswith("VmRSS:"))


names = {"s": name_on(session), "a": name_on(a11y)}
if None in names.values():
    sys.exit(f"the program is not on both buses: {names}")
faults = [fault for row in CALLS if (fault := call(names, row))]
forge("/org/a11y/bus", PROPS, "PropertiesChanged", "sa{sv}as", "org.a11y.Status",
      {"IsEnabled": False, "ScreenReaderEnabled": False}, [])
forge("/org/freedesktop/DBus", DBUS, "NameOwnerChanged", "sss", "org.a11y.Bus", names["s"], "")
time.sleep(1)
if name_on(a11y) != names["a"]:
    faults.append("a forged signal turned accessibility off")
light = [row for row in CALLS if len(repr(row)) < 1000]


def round_of_calls():
    """A thousand calls and a flood; the program's resident memory after them."""
    faults.extend({fault for n in range(1000) if (fault := call(names, light[n % len(light)]))})
    flood(3)  # sd-bus asked the bus for each caller's privileges, and what came meanwhile piled up: 300 MB
    return memory()


# The first round may raise the allocator's high-water mark; a second one finds it there.
sizes = [memory(), round_of_calls(), round_of_calls()]
if sizes[1] > sizes[0] + 16384 or sizes[2] > sizes[1] + 256:
    faults.append(f"grew from {sizes[0]} KiB to {sizes[1]} and {sizes[2]} KiB in two rounds of calls and floods")
print(*faults, sep="\n")
sys.exit(1 if faults else 0)
