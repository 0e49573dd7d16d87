#!/usr/bin/python3
"""Counts, for SECONDS, what each process sends on the session bus: the StatusNotifierItem
signals it emits and the bus connections it opens. Prints one line per process id:
    PID signals=N connections=N
Usage: dbus_count.py SECONDS
"""
import sys
from collections import Counter

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib


def main():
    seconds = int(sys.argv[1])
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    daemon = bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
    pids = {}
    signals = Counter()
    connections = Counter()

    def pid_of(name, then):
        if name in pids:
            then(pids[name])
            return

        def found(pid):
            pids[name] = int(pid)
            then(int(pid))

        daemon.GetConnectionUnixProcessID(name, dbus_interface="org.freedesktop.DBus",
                                          reply_handler=found, error_handler=lambda e: None)

    def item_signal(*args, sender=None):
        pid_of(sender, lambda pid: signals.update([pid]))

    def owner_changed(name, old, new):
        if name.startswith(":") and not old and new:
            pid_of(name, lambda pid: connections.update([pid]))

    bus.add_signal_receiver(item_signal, dbus_interface="org.kde.StatusNotifierItem",
                            sender_keyword="sender")
    bus.add_signal_receiver(owner_changed, "NameOwnerChanged", "org.freedesktop.DBus",
                            "org.freedesktop.DBus")
    loop = GLib.MainLoop()
    GLib.timeout_add_seconds(seconds, loop.quit)
    loop.run()
    for pid in sorted(set(signals) | set(connections)):
        print("%d signals=%d connections=%d" % (pid, signals[pid], connections[pid]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
