#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# A stand-in for systemd-logind on the test's private system bus: owns org.freedesktop.login1,
# hands out "delay" inhibitor locks as the write end of a pipe, and sends PrepareForSleep(true)
# when the file SLEEP appears and PrepareForSleep(false) when WAKE appears (each removed then).
# When a lock is given back (the pipe's last write end closed) it copies the log LOG, as it is
# at that moment, to RECORD.
# Usage: logind_server.py LOG RECORD SLEEP WAKE
import os
import shutil
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

IFACE = "org.freedesktop.login1.Manager"
log, record, sleep_file, wake_file = sys.argv[1:5]


class Manager(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/login1")
        self.locks = 0

    @dbus.service.method(IFACE, in_signature="ssss", out_signature="h")
    def Inhibit(self, what, who, why, mode):
        r, w = os.pipe()
        self.locks += 1
        GLib.io_add_watch(r, GLib.IO_HUP | GLib.IO_IN, self.released)
        fd = dbus.types.UnixFd(w)  # a copy of its own; ours is closed at once
        os.close(w)
        print("inhibit", what, mode, flush=True)
        return fd

    def released(self, fd, condition):
        if os.read(fd, 1):
            return True
        os.close(fd)
        shutil.copyfile(log, record)
        print("released", flush=True)
        return False

    @dbus.service.signal(IFACE, signature="b")
    def PrepareForSleep(self, start):
        pass


def poll_files():
    for path, start in ((sleep_file, True), (wake_file, False)):
        if os.path.exists(path):
            os.remove(path)
            manager.PrepareForSleep(start)
    return True


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.bus.BusConnection(os.environ["DBUS_SYSTEM_BUS_ADDRESS"])
name = dbus.service.BusName("org.freedesktop.login1", bus)
manager = Manager(bus)
GLib.timeout_add(50, poll_files)
GLib.MainLoop().run()
