#!/usr/bin/python3
"""A StatusNotifierWatcher with a host, for the end-to-end tests and the benchmark.

Owns org.kde.StatusNotifierWatcher on the session bus, registers itself as a host, and shows
what a panel would: for each item that registers it prints one line
    ITEM <service> sizes=<WxH,...> centre=<AARRGGBB of each picture's centre> title=<Title>
then a TIP line with the tip's title whenever the item says it changed, a SIGNAL line for every
change signal, and GONE when the item leaves the bus. Runs until it is terminated.
"""
import signal
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"


def say(line):
    print(line, flush=True)


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        self.bus = bus
        self.items = []
        self.hosts = []
        dbus.service.Object.__init__(self, bus, "/StatusNotifierWatcher")
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged",
                                "org.freedesktop.DBus", "org.freedesktop.DBus")
        for name in ("NewIcon", "NewToolTip", "NewTitle", "NewStatus"):
            bus.add_signal_receiver(self.item_signal, name, ITEM, sender_keyword="sender",
                                    member_keyword="member")

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        if service.startswith("/"):
            service = sender
        if service not in self.items:
            self.items.append(service)
            self.StatusNotifierItemRegistered(service)
            GLib.idle_add(self.show_item, service)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        if service not in self.hosts:
            self.hosts.append(service)
            self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(bool(self.hosts)),
            "ProtocolVersion": dbus.Int32(0),
        }

    def properties(self, service):
        # One call, as a panel makes it: the interface is known, not asked for every time.
        item = self.bus.get_object(service, "/StatusNotifierItem", introspect=False)
        return item.GetAll(ITEM, dbus_interface=dbus.PROPERTIES_IFACE)

    def show_item(self, service):
        try:
            props = self.properties(service)
        except dbus.DBusException as error:
            say("ERROR %s %s" % (service, error.get_dbus_name()))
            return False
        sizes, centres = [], []
        for width, height, pixels in props.get("IconPixmap", []):
            data = bytes(pixels)
            if len(data) != width * height * 4:
                say("ERROR %s picture %dx%d has %d bytes" % (service, width, height, len(data)))
            sizes.append("%dx%d" % (width, height))
            at = ((height // 2) * width + width // 2) * 4
            centres.append(data[at:at + 4].hex().upper())
        say("ITEM %s sizes=%s centre=%s title=%s" % (service, ",".join(sizes), ",".join(centres),
                                                     props.get("Title", "")))
        self.show_tip(service, props)
        return False

    def show_tip(self, service, props=None):
        try:
            props = props or self.properties(service)
        except dbus.DBusException:
            return
        tip = props.get("ToolTip")
        say("TIP %s" % (tip[2] if tip else ""))

    def item_signal(self, *args, sender=None, member=None):
        say("SIGNAL %s" % member)
        if member == "NewToolTip":
            for service in self.items:
                if self.bus.get_name_owner(service) == sender:
                    self.show_tip(service)

    def owner_changed(self, name, old, new):
        if name in self.items and not new:
            self.items.remove(name)
            self.StatusNotifierItemUnregistered(name)
            say("GONE %s" % name)


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    host = "org.kde.StatusNotifierHost-%d" % __import__("os").getpid()
    names = [dbus.service.BusName(host, bus), dbus.service.BusName(WATCHER, bus)]
    watcher.RegisterStatusNotifierHost(host)
    say("WATCHING")
    loop = GLib.MainLoop()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, loop.quit)
    loop.run()
    del names
    return 0


if __name__ == "__main__":
    sys.exit(main())
