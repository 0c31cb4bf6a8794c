"""A status-notifier panel as the tests need one: a watcher (org.kde.StatusNotifierWatcher) with a
host, on a connection of its own to the test's session bus, that records the items registering
with it; and the calls a panel makes to an item and its menu. Not a test itself: the tests beside
it import it. Needs python3-gi (which python3-pyatspi brings).
"""
import time

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"

WATCHER_XML = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <signal name="StatusNotifierHostUnregistered"/>
</interface></node>"""


class Watcher:
    """The watcher of a panel that has just started. Items register by their bus name (or an
    object path, taken on the caller's name); close() ends it as a panel that quits does."""

    def __init__(self, address):
        from gi.repository import Gio, GLib
        self.GLib = GLib
        flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
        self.connection = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
        self.items = []  # (bus name, object path) in the order they registered
        info = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0]
        self.connection.register_object("/StatusNotifierWatcher", info, self._call, self._get, None)
        reply = self.connection.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                          "RequestName", GLib.Variant("(su)", (WATCHER, 4)),
                                          GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, -1, None)
        if reply.unpack()[0] != 1:
            raise RuntimeError("the watcher's name is taken")

    def _call(self, connection, sender, path, interface, method, parameters, invocation):
        if method == "RegisterStatusNotifierItem":
            name = parameters.unpack()[0]
            item = (sender, name) if name.startswith("/") else (name, "/StatusNotifierItem")
            self.items.append(item)
            connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered",
                                   self.GLib.Variant("(s)", (item[0] + item[1],)))
        invocation.return_value(None)

    def _get(self, connection, sender, path, interface, name):
        if name == "IsStatusNotifierHostRegistered":
            return self.GLib.Variant("b", True)
        if name == "ProtocolVersion":
            return self.GLib.Variant("i", 0)
        return self.GLib.Variant("as", [service + path for service, path in self.items])

    def pump(self):
        """Answers what has arrived (the watcher's calls are answered only here)."""
        context = self.GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def wait_for_items(self, count, timeout=30.0, program=None):
        end = time.time() + timeout
        while time.time() < end:
            self.pump()
            if len(self.items) >= count:
                return self.items[count - 1]
            if program is not None and program.poll() is not None:
                raise AssertionError("the program ended, with status %d" % program.returncode)
            time.sleep(0.05)
        raise AssertionError("no item registered with the watcher within %d s" % timeout)

    def call(self, item, interface, method, signature=None, values=None):
        """A panel's call to the item (or its menu), answered by the program; the unpacked reply."""
        variant = self.GLib.Variant(signature, values) if signature else None
        reply = self.connection.call_sync(item[0], item[1], interface, method, variant, None, 0, 10000, None)
        return reply.unpack() if reply is not None else ()

    def properties(self, item):
        return self.call(item, "org.freedesktop.DBus.Properties", "GetAll", "(s)", (ITEM,))[0]

    def menu_layout(self, item, menu_path):
        """The menu's entries below its root: [(id, label)], separators as (id, None)."""
        _, (_, _, children) = self.call((item[0], menu_path), "com.canonical.dbusmenu", "GetLayout", "(iias)",
                                        (0, -1, []))
        return [(child[0], child[1].get("label")) for child in children]

    def click(self, item, menu_path, entry):
        self.call((item[0], menu_path), "com.canonical.dbusmenu", "Event", "(isvu)",
                  (entry, "clicked", self.GLib.Variant("i", 0), 0))

    def close(self):
        """The panel quits: its connection, and the watcher's name with it, goes."""
        self.connection.close_sync(None)
