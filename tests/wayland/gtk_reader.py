#!/usr/bin/python3
"""The program the user reads in, as a native Wayland GTK 3 window (GNOME's toolkit), for
the tests in GNOME's compositor. It speaks the part of the test reader's protocol
(tests/xvfb/test_reader.cpp) that a highlight needs. Commands on stdin, one a line:
"select TEXT" replaces the text and selects it. Reports on stdout: "shown", "selected" after
each replacement, "active" and "inactive" as the window gains and loses the keyboard (and
"away MS" after "active": how long it was without it), and "key NAME" (in Qt's naming:
"Ctrl+A", "F2") for every key that reaches it. Wayland hands the
primary selection only to a program that takes it in answer to input: the test highlights
the text with keys pressed through the seat (Ctrl+A)."""
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk

MODIFIERS = ((Gdk.ModifierType.CONTROL_MASK, "Ctrl+"), (Gdk.ModifierType.SHIFT_MASK, "Shift+"),
             (Gdk.ModifierType.MOD1_MASK, "Alt+"))


def say(line):
    print(line, flush=True)


def on_key(_widget, event):
    name = Gdk.keyval_name(Gdk.keyval_to_upper(event.keyval)) or ""
    if not name.startswith(("Control", "Shift", "Alt", "Super", "ISO_")):
        say("key " + "".join(text for mask, text in MODIFIERS if event.state & mask) + name)
    return False


def on_command(channel, _condition):
    line = channel.readline()
    if not line:
        Gtk.main_quit()
        return False
    command, _, argument = line.rstrip("\n").partition(" ")
    if command == "select":
        buffer.set_text(argument)
        buffer.select_range(buffer.get_start_iter(), buffer.get_end_iter())
        say("selected")
    return True


window = Gtk.Window(title="Leser")
window.set_default_size(1200, 700)  # the pointer's click lands on it, beside Quillet
view = Gtk.TextView()
window.add(view)
buffer = view.get_buffer()
window.connect("key-press-event", on_key)
left = None


def on_active(_window, _param):
    global left
    if not window.is_active():
        left = GLib.get_monotonic_time()
        say("inactive")
        return
    say("active")
    if left is not None:
        say("away %.1f" % ((GLib.get_monotonic_time() - left) / 1000))


window.connect("notify::is-active", on_active)
window.connect("destroy", Gtk.main_quit)
GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN | GLib.IO_HUP,
                  on_command)
window.show_all()
say("shown")
Gtk.main()
