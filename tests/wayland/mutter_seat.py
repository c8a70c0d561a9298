#!/usr/bin/python3
"""A keyboard and a pointer for a headless mutter's seat, through mutter's own
RemoteDesktop D-Bus API. The session lives as long as this process's bus connection, so
one process holds it and takes commands on stdin, one a line:
  key CHORD    presses and releases a chord such as "ctrl+a", "F2", "1"
  click X Y HEIGHT  moves the pointer to X, Y of a screen HEIGHT pixels high and clicks the
               left button (gives the window under it the keyboard)
and answers "ready" once, then "done" after each command."""
import sys

from gi.repository import Gio, GLib

# evdev codes (linux/input-event-codes.h)
KEYS = {"ctrl": 29, "shift": 42, "alt": 56, "a": 30, "c": 46, "y": 21, "return": 28,
        "escape": 1, "home": 102, "end": 107, "0": 11}
KEYS.update({str(n): 1 + n for n in range(1, 10)})
KEYS.update({"f%d" % n: 58 + n for n in range(1, 11)})
BUTTON_LEFT = 0x110

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, args=None, dest="org.gnome.Mutter.RemoteDesktop"):
    return bus.call_sync(dest, path, interface, method, args, None,
                         Gio.DBusCallFlags.NONE, 5000, None)


session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
               "CreateSession").unpack()[0]
SESSION = "org.gnome.Mutter.RemoteDesktop.Session"
call(session, SESSION, "Start")


def key(code, pressed):
    call(session, SESSION, "NotifyKeyboardKeycode", GLib.Variant("(ub)", (code, pressed)))


# The devices come with their first event: a seat without a keyboard gives no program the
# keyboard focus.
key(KEYS["shift"], True)
key(KEYS["shift"], False)
call(session, SESSION, "NotifyPointerMotionRelative", GLib.Variant("(dd)", (0.0, 0.0)))
print("ready", flush=True)
for line in sys.stdin:
    words = line.split()
    if not words:
        continue
    if words[0] == "key":
        codes = [KEYS[k.lower()] for k in words[1].split("+")]
        for code in codes:
            key(code, True)
        for code in reversed(codes):
            key(code, False)
    elif words[0] == "click":
        # Relative motion only (absolute needs a screen-cast stream): first into the bottom
        # left corner, where the compositor stops it (the top left one is GNOME Shell's hot
        # corner), then to the point. The screen is HEIGHT pixels high.
        x, y, height = float(words[1]), float(words[2]), float(words[3])
        for dx, dy in ((-10000.0, 10000.0), (x, y - height + 1)):
            call(session, SESSION, "NotifyPointerMotionRelative", GLib.Variant("(dd)", (dx, dy)))
        call(session, SESSION, "NotifyPointerButton", GLib.Variant("(ib)", (BUTTON_LEFT, True)))
        call(session, SESSION, "NotifyPointerButton", GLib.Variant("(ib)", (BUTTON_LEFT, False)))
    # A round trip, so that the compositor has handled the events before the answer.
    call(session, "org.freedesktop.DBus.Peer", "Ping")
    print("done", flush=True)
