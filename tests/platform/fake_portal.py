#!/usr/bin/python3
"""A stand-in for the desktop's GlobalShortcuts portal on a private session bus: request
paths from the caller's bus name, the answer as a Response signal after the call's reply,
answer codes, activations of our session and of others. Desktops' quirks are not modelled.

Test control, interface org.quillet.FakePortal on the portal's object:
  SetAnswer(s method, i code)  the Response code for CreateSession or BindShortcuts:
                               0 ok, 1 cancelled, 2 failed, -1 no Response at all
  SetRegistry(b)               offer org.freedesktop.host.portal.Registry
  Calls() -> as                "Register ID", "CreateSession N", "BindShortcuts N TRIGGERS"
  Sessions() -> ao             the sessions opened
  Activate(o session, s id)    Activated then Deactivated
"""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
CONTROL = "org.quillet.FakePortal"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.answers = {"CreateSession": 0, "BindShortcuts": 0}
        self.registry = False
        self.calls = []
        self.sessions = []

    def child(self, kind, sender, token):
        return "%s/%s/%s/%s" % (PATH, kind, sender[1:].replace(".", "_"), token)

    def answer(self, method, sender, token, results):
        path = self.child("request", sender, token)
        code = self.answers[method]
        if code >= 0:
            # After the reply, as the real portal does: a client that listens only once
            # the call returned misses it.
            def respond():
                request = Request(self.bus, path)
                request.Response(dbus.UInt32(code), dbus.Dictionary(results if code == 0 else {}, signature="sv"))
                request.remove_from_connection()
            GLib.idle_add(respond)
        return dbus.ObjectPath(path)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        self.calls.append("CreateSession %d" % len(options.get("shortcuts", [])))
        session = self.child("session", sender, options["session_handle_token"])
        if self.answers["CreateSession"] == 0:
            self.sessions.append(dbus.ObjectPath(session))
        return self.answer("CreateSession", sender, options["handle_token"], {"session_handle": session})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
        self.calls.append("BindShortcuts %d %s" % (len(shortcuts), ",".join(s[1]["preferred_trigger"] for s in shortcuts)))
        bound = [(s[0], {"description": s[1]["description"]}) for s in shortcuts]
        return self.answer("BindShortcuts", sender, options["handle_token"],
                           {"shortcuts": dbus.Array(bound, signature="(sa{sv})")})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Deactivated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.method("org.freedesktop.host.portal.Registry", in_signature="sa{sv}")
    def Register(self, app_id, options):
        if not self.registry:  # what portals before 1.19.4 answer
            raise dbus.exceptions.DBusException("No such interface", name="org.freedesktop.DBus.Error.UnknownMethod")
        self.calls.append("Register %s" % app_id)

    @dbus.service.method(CONTROL, in_signature="si")
    def SetAnswer(self, method, code):
        self.answers[str(method)] = int(code)

    @dbus.service.method(CONTROL, in_signature="b")
    def SetRegistry(self, on):
        self.registry = bool(on)

    @dbus.service.method(CONTROL, out_signature="as")
    def Calls(self):
        return dbus.Array(self.calls, signature="s")

    @dbus.service.method(CONTROL, out_signature="ao")
    def Sessions(self):
        return dbus.Array(self.sessions, signature="o")

    @dbus.service.method(CONTROL, in_signature="os")
    def Activate(self, session, shortcut_id):
        nothing = dbus.Dictionary({}, signature="sv")
        self.Activated(session, shortcut_id, dbus.UInt64(0), nothing)
        self.Deactivated(session, shortcut_id, dbus.UInt64(0), nothing)


if __name__ == "__main__":
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus)
    name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus, do_not_queue=True)
    GLib.MainLoop().run()
