"""A screen reader's side of the window over AT-SPI (python3-gi's Atspi), for tests/e2e/accessibility.sh.

  atspi_client.py listen      prints the window's events, one a line ("focus entry Pixels in the active window",
                              "name push button Go", "insert entry Pixels 1 2", "activate frame TITLE"),
                              and each key offered to it ("key pressed x"); it takes (consumes) the key z
  atspi_client.py tree        the window's objects, one a line: depth, role, name, states, relations
  atspi_client.py text NAME   the text of the box named NAME; set NAME T gives it the text T (EditableText)
  atspi_client.py focus NAME  moves the focus to the control; act NAME does its action and prints the action's name
Run with Debian's /usr/bin/python3 (python3-gi, gir1.2-atspi-2.0).
"""
import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def say(*words):
    print(*words, flush=True)


def application():
    desktop = Atspi.get_desktop(0)
    for app in (desktop.get_child_at_index(i) for i in range(desktop.get_child_count())):
        if app is not None and app.get_name() == "Nudgewick":
            return app
    sys.exit("Nudgewick is not on the desktop")


def objects(node, depth=0):
    yield depth, node
    for i in range(node.get_child_count()):
        yield from objects(node.get_child_at_index(i), depth + 1)


def named(name):
    for _, node in objects(application()):
        # The boxes share their labels' names: the one asked for is the one that takes text or acts.
        if node.get_name() == name and node.get_role() != Atspi.Role.LABEL:
            return node
    sys.exit(f"no control named {name!r}")


def role(node):  # at-spi2-core 2.50 renamed "push button" to "button"
    return "push button" if node.get_role() == Atspi.Role.PUSH_BUTTON else node.get_role_name()


def describe(node):
    try:
        return f"{role(node)} {node.get_name()}"
    except GLib.Error:  # gone: a window closed before its events were read
        return "closed " + node.path.rsplit("/", 1)[-1]


def tree():
    for depth, node in objects(application()):
        states = ",".join(sorted(s.value_nick for s in node.get_state_set().get_states()))
        relations = ",".join(
            f"{r.get_relation_type().value_nick}:{describe(r.get_target(0))}" for r in node.get_relation_set())
        say(f"{depth}|{role(node)}|{node.get_name()}|{states}|{relations}")


def listen():
    def heard(event):
        kind = event.type.split(":")
        what = describe(event.source)
        if kind[0] == "focus":
            # A screen reader passes over focus events while the window is not active and showing.
            states = event.source.get_parent().get_state_set()
            shown = states.contains(Atspi.StateType.ACTIVE) and states.contains(Atspi.StateType.SHOWING)
            say("focus", what, "in the active window" if shown else "in an inactive window")
        elif kind[0] == "window":
            say(kind[1], what)
        elif event.type == "object:property-change:accessible-name":
            say("name", what)
        elif event.type.startswith("object:text-changed"):
            say(kind[2], what, event.detail1, event.any_data)
        elif event.type.startswith("object:children-changed"):
            say(kind[2], what, describe(event.any_data))

    listener = Atspi.EventListener.new(heard)
    for kind in ("focus:", "window:activate", "window:deactivate", "object:property-change:accessible-name",
                 "object:text-changed", "object:children-changed"):
        listener.register(kind)

    def key(event):
        say("key", "pressed" if event.type == Atspi.EventType.KEY_PRESSED_EVENT else "released", event.event_string)
        return event.event_string == "z"

    keys = Atspi.DeviceListener.new(key)
    Atspi.register_keystroke_listener(keys, None, 0, (1 << Atspi.EventType.KEY_PRESSED_EVENT) |
                                      (1 << Atspi.EventType.KEY_RELEASED_EVENT),
                                      Atspi.KeyListenerSyncType.SYNCHRONOUS | Atspi.KeyListenerSyncType.CANCONSUME)
    say("listening")
    GLib.MainLoop().run()


def act(name):
    node = named(name)
    warnings.simplefilter("ignore", DeprecationWarning)  # its successor is not in Debian 12's typelib
    say(node.get_action_name(0))
    return node.do_action(0) or sys.exit("the action was refused")


COMMANDS = {
    "listen": listen,
    "tree": tree,
    # Through the interfaces: at-spi2-core 2.56's Accessible has a get_text of its own.
    "text": lambda name: say(Atspi.Text.get_text(named(name), 0, -1)),
    "set": lambda name, text: Atspi.EditableText.set_text_contents(named(name), text) or sys.exit("the box refused"),
    "focus": lambda name: named(name).grab_focus() or sys.exit("the control did not take the focus"),
    "act": act,
}

if __name__ == "__main__":
    COMMANDS[sys.argv[1]](*sys.argv[2:])
