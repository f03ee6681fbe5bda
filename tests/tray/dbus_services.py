"""The session-bus side of a desktop, as small as the tray tests need: a StatusNotifierWatcher, a
notification service, and a host that registers with the watcher and talks to the tray items."""

import queue
import threading

from gi.repository import Gio, GLib

from desktop_fixture import WAIT

WATCHER = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
</interface></node>"""

NOTIFICATIONS = """<node><interface name="org.freedesktop.Notifications">
  <method name="Notify">
    <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
    <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
  </method>
  <method name="CloseNotification"><arg type="u" direction="in"/></method>
  <method name="GetCapabilities"><arg type="as" direction="out"/></method>
  <method name="GetServerInformation">
    <arg type="s" direction="out"/><arg type="s" direction="out"/><arg type="s" direction="out"/>
    <arg type="s" direction="out"/>
  </method>
</interface></node>"""

FLAGS = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
ITEM = "org.kde.StatusNotifierItem"


def connect(address):
    return Gio.DBusConnection.new_for_address_sync(address, FLAGS, None, None)


def own(connection, name):
    connection.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                         GLib.Variant("(su)", (name, 4)), None, Gio.DBusCallFlags.NONE, WAIT * 1000, None)


class DesktopServices:
    """The services on a main loop of their own thread; the host's calls are made from the caller's."""

    def __init__(self, address, watcher):
        self.items = queue.Queue()  # bus names of registered tray items
        self.notifications = queue.Queue()  # (summary, body, icon name) of each Notify
        self._hosts = []
        self._loop = None
        ready = threading.Event()
        self._thread = threading.Thread(target=self._serve, args=(address, watcher, ready), daemon=True)
        self._thread.start()
        if not ready.wait(WAIT):
            raise AssertionError("bus services did not start")
        self._host = connect(address)
        if watcher:
            own(self._host, "org.kde.StatusNotifierHost-tray-test")
            self._host.call_sync("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                                 "org.kde.StatusNotifierWatcher", "RegisterStatusNotifierHost",
                                 GLib.Variant("(s)", ("org.kde.StatusNotifierHost-tray-test",)), None,
                                 Gio.DBusCallFlags.NONE, WAIT * 1000, None)

    def _serve(self, address, watcher, ready):
        context = GLib.MainContext()
        context.push_thread_default()
        connection = connect(address)
        if watcher:
            self._export(connection, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", WATCHER)
        self._export(connection, "org.freedesktop.Notifications", "/org/freedesktop/Notifications", NOTIFICATIONS)
        self._loop = GLib.MainLoop(context)
        ready.set()
        self._loop.run()

    def _export(self, connection, name, path, xml):
        interface = Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0]
        connection.register_object(path, interface, self._call, self._property, None)
        own(connection, name)

    def _call(self, connection, sender, path, interface, method, arguments, invocation):
        values = arguments.unpack()
        if method == "RegisterStatusNotifierItem":
            self.items.put(sender if values[0].startswith("/") else values[0])
            connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered", arguments)
        elif method == "RegisterStatusNotifierHost":
            self._hosts.append(values[0])
        elif method == "Notify":
            self.notifications.put((values[3], values[4], values[2]))
            invocation.return_value(GLib.Variant("(u)", (self.notifications.qsize(),)))
            return
        elif method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body"],)))
            return
        elif method == "GetServerInformation":
            invocation.return_value(GLib.Variant("(ssss)", ("tray-test", "test", "1", "1.2")))
            return
        invocation.return_value(None)

    def _property(self, connection, sender, path, interface, name):
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", bool(self._hosts))
        if name == "ProtocolVersion":
            return GLib.Variant("i", 0)
        return GLib.Variant("as", [])

    def stop(self):
        if self._loop is not None:
            self._loop.get_context().invoke_full(GLib.PRIORITY_DEFAULT, self._loop.quit)
        self._thread.join(WAIT)

    def next_item(self):
        return self.items.get(timeout=WAIT)

    def next_notification(self):
        return self.notifications.get(timeout=WAIT)

    def item_property(self, item, name):
        return self._host.call_sync(item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                                    GLib.Variant("(ss)", (ITEM, name)), None, Gio.DBusCallFlags.NONE, WAIT * 1000,
                                    None).unpack()[0]

    def item_call(self, item, method):
        self._host.call_sync(item, "/StatusNotifierItem", ITEM, method, GLib.Variant("(ii)", (0, 0)), None,
                             Gio.DBusCallFlags.NONE, WAIT * 1000, None)
