#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A desktop notification service for the tests: owns org.freedesktop.Notifications on the
# session bus, writes every Notify call as one line (id, app name, summary, body, actions, the id
# it replaces, its expiry in ms; tab-separated) to RECORD, and answers with a click (ActionInvoked "default" on the latest
# notification) whenever the file CLICK appears, which it then removes.
# Usage: notify_server.py RECORD CLICK
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

IFACE = "org.freedesktop.Notifications"
record, click = sys.argv[1], sys.argv[2]


class Notifications(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.last = 0

    @dbus.service.method(IFACE, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.last += 1
        with open(record, "a", encoding="utf-8") as f:
            f.write("\t".join([str(self.last), app, summary, body, ",".join(actions),
                               str(replaces), str(timeout)]) + "\n")
        return dbus.UInt32(self.last)

    @dbus.service.method(IFACE, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body"]

    @dbus.service.method(IFACE, in_signature="u")
    def CloseNotification(self, id):
        self.NotificationClosed(id, 3)

    @dbus.service.method(IFACE, out_signature="ssss")
    def GetServerInformation(self):
        return ("wirevane-test", "wirevane", "1", "1.2")

    @dbus.service.signal(IFACE, signature="us")
    def ActionInvoked(self, id, key):
        pass

    @dbus.service.signal(IFACE, signature="uu")
    def NotificationClosed(self, id, reason):
        pass


def poll_click():
    if os.path.exists(click):
        os.remove(click)
        server.ActionInvoked(dbus.UInt32(server.last), "default")
    return True


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
server = Notifications(bus)
name = dbus.service.BusName(IFACE, bus)
GLib.timeout_add(100, poll_click)
GLib.MainLoop().run()
