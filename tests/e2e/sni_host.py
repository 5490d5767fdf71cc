#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
"""A minimal StatusNotifierItem panel for the end-to-end tests, over the session bus.

  sni_host.py watcher FILE   run org.kde.StatusNotifierWatcher with a host registered; each
                             item that registers is appended to FILE as "bus-name object-path"
  sni_host.py items          print the items registered with the running watcher, one a line
  sni_host.py prop ITEM NAME print a property of the item (ToolTip: its title; IconPixmap: a
                             digest of the pictures)
  sni_host.py call ITEM METHOD   Activate / ContextMenu / SecondaryActivate at (0, 0)
  sni_host.py menu ITEM      print the labels of the item's visible DBusMenu entries, one a line
  sni_host.py click ITEM LABEL   send "clicked" to the menu entry with that label
"""
import hashlib
import os
import sys

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM_IFACE = "org.kde.StatusNotifierItem"
MENU_IFACE = "com.canonical.dbusmenu"
PROPS = "org.freedesktop.DBus.Properties"
# Qt reads the watcher's properties through introspection, so they must be listed there.
WATCHER_XML = f"""<node>
 <interface name="{WATCHER}">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="{PROPS}">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
   <arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{{sv}}" direction="out"/></method>
 </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, out):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []
        self.out = out

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names either its bus name or its object path.
        path = "/StatusNotifierItem"
        if service.startswith("/"):
            service, path = sender, service
        self.items.append(service + path)
        with open(self.out, "a") as f:
            f.write(f"{service} {path}\n")
        self.StatusNotifierItemRegistered(service + path)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return WATCHER_XML

    def _props(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self._props()[name]

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self._props()


def run_watcher(out):
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus, out)
    # The host's own name first, so the watcher is never seen without a host.
    host = dbus.service.BusName(f"org.kde.StatusNotifierHost-{os.getpid()}", bus)
    name = dbus.service.BusName(WATCHER, bus)
    watcher.StatusNotifierHostRegistered()
    GLib.MainLoop().run()
    del host, name


def item(bus, spec):
    # "name path" as the watcher above writes it, or "name/path" as other watchers list it.
    if " " in spec:
        service, path = spec.split(" ", 1)
    elif "/" in spec:
        service, path = spec[: spec.index("/")], spec[spec.index("/") :]
    else:
        service, path = spec, "/StatusNotifierItem"
    return bus.get_object(service, path)


def labels(menu):
    _, layout = menu.GetLayout(0, -1, ["label", "visible"], dbus_interface=MENU_IFACE)
    found = []

    def walk(node):
        ident, props, children = node
        if "label" in props and props.get("visible", True):
            found.append((int(ident), str(props["label"]).replace("&", "")))
        for child in children:
            walk(child)

    walk(layout)
    return found


def main():
    cmd = sys.argv[1]
    if cmd == "watcher":
        run_watcher(sys.argv[2])
        return
    bus = dbus.SessionBus()
    if cmd == "items":
        watcher = bus.get_object(WATCHER, "/StatusNotifierWatcher")
        for name in watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPS):
            print(name)
        return
    obj = item(bus, sys.argv[2])
    if cmd == "prop":
        value = obj.Get(ITEM_IFACE, sys.argv[3], dbus_interface=PROPS)
        if sys.argv[3] == "ToolTip":
            print(value[2])
        elif sys.argv[3] == "IconPixmap":
            print(hashlib.sha1(repr(value).encode()).hexdigest())
        else:
            print(value)
    elif cmd == "call":
        getattr(obj, sys.argv[3])(0, 0, dbus_interface=ITEM_IFACE)
    else:
        path = obj.Get(ITEM_IFACE, "Menu", dbus_interface=PROPS)
        menu = bus.get_object(obj.bus_name, path)
        if cmd == "menu":
            for _, label in labels(menu):
                print(label)
        elif cmd == "click":
            ident = [i for i, label in labels(menu) if label == sys.argv[3]][0]
            menu.Event(ident, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                       dbus_interface=MENU_IFACE)


if __name__ == "__main__":
    main()
