#!/usr/bin/python3
# Stands in for the UDisks2 service on a private bus: one block device
# (sdb1) whose Filesystem.SetLabel records its arguments, then quits.
# Usage: udisks_standin.py OUT_FILE READY_FILE [refuse]
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

out_file, ready_file = sys.argv[1], sys.argv[2]
refuse = len(sys.argv) > 3 and sys.argv[3] == "refuse"
loop = GLib.MainLoop()


class Filesystem(dbus.service.Object):
    @dbus.service.method("org.freedesktop.UDisks2.Filesystem", in_signature="sa{sv}", out_signature="")
    def SetLabel(self, label, options):
        with open(out_file, "w") as out:
            pairs = ",".join("%s=%s" % (key, bool(value)) for key, value in sorted(options.items()))
            out.write("%s|%s\n" % (label, pairs))
        GLib.idle_add(loop.quit)
        if refuse:
            raise dbus.DBusException("Not authorized to perform operation",
                                     name="org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain")


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.UDisks2", bus)
Filesystem(bus, "/org/freedesktop/UDisks2/block_devices/sdb1")
open(ready_file, "w").close()
GLib.timeout_add_seconds(60, loop.quit)
loop.run()
