"""A throw-away desktop for running the real updater as a person meets it, and an FTP server for it.
Every process started here is ended here; every wait is bounded."""

import contextlib
import logging
import os
import pathlib
import queue
import re
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from gi.repository import Gio, GLib

PANEL_HEIGHT = 32  # the panel's icon places are narrower than they are high
# The updater under test is named first. A Windows one (.exe) runs under Wine and is followed by the
# installer it is to download and a Windows program that prints the text of the updater's message box.
UPDATER = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ""
WINDOWS = UPDATER.endswith(".exe")
# A 32-bit program runs under 32-bit Wine, where the kernel runs no 32-bit code through an emulator (slow).
PE = pathlib.Path(UPDATER).read_bytes()[:1024] if WINDOWS else b""
EMULATED = PE[int.from_bytes(PE[60:64], "little") + 4:][:2] == b"\x4c\x01"  # the PE header's machine: i386
WAIT = 300 if EMULATED else 30  # seconds; the bound of every single wait
if WINDOWS:
    INSTALLER, BOX_READER = ("setup.exe", pathlib.Path(sys.argv[2]).read_bytes()), os.path.abspath(sys.argv[3])
else:  # a harmless installer: notes where it ran and with how many arguments, as the Windows one does
    INSTALLER = ("setup.run", b"#!/bin/sh\nprintf '%s\\n%s\\n' \"$(pwd)\" $# > \"$0.ran\"\n")
LOG_ENCODING = "cp1252" if WINDOWS else "utf-8"  # the ANSI code page
WINE, WINESERVER = "/usr/lib/wine/wine" if EMULATED else "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver"
BUS_CONFIG = """<busconfig><type>session</type><listen>unix:dir={}</listen><auth>EXTERNAL</auth><policy
  context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>"""
WATCHER = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/></interface></node>"""
NOTIFICATIONS = ('<node><interface name="org.freedesktop.Notifications"><method name="Notify">' +
                 "".join(f'<arg type="{t}"/>' for t in ("s", "u", "s", "s", "s", "as", "a{sv}", "i")) +
                 '<arg type="u" direction="out"/></method></interface></node>')
ITEM = "org.kde.StatusNotifierItem"


def main():
    """Runs the script's tests as root in network and mount namespaces of their own."""
    if os.environ.get("UPDATER_E2E_NETNS") != "1":
        os.environ["UPDATER_E2E_NETNS"] = "1"
        os.execvp("unshare", ["unshare", "--net", "--mount", sys.executable] + sys.argv)
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    del sys.argv[1:4 if WINDOWS else 2]
    unittest.main(module="__main__", verbosity=2)


def wait_for(probe, what, timeout=WAIT):
    """Polls probe until it returns something true and returns that."""
    deadline = time.monotonic() + timeout
    while not (found := probe()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)
    return found


def read_line(fd, what):
    """One line from a process's pipe, read up to its newline (Xvfb dies if the pipe closes before)."""
    data = b""
    while not data.endswith(b"\n"):
        data += wait_for(lambda: select.select([fd], [], [], 0)[0] and os.read(fd, 256), "a line from " + what)
    return data.decode().strip()


def colour_shares(pixels):
    """Shares of clearly green and clearly red pixels among (r, g, b) pixels."""
    green = sum(g > r + 60 and g > b + 60 for r, g, b in pixels)
    red = sum(r > g + 60 and r > b + 60 for r, g, b in pixels)
    return green / len(pixels), red / len(pixels)


def read(path):
    return path.read_bytes() if path.exists() else b""


def stop(process):
    with process:  # closes its pipes and waits for it
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()


class Desktop:
    """Xvfb, a private session bus with a notification service, the trayer panel or a StatusNotifierWatcher if
    asked, and a Wine prefix for a Windows updater; the queues get each notification and tray item's bus name."""

    def __init__(self, tray=True, watcher=False):
        self.folder = tempfile.mkdtemp(prefix="desktop-")
        self.env = {"PATH": os.environ["PATH"], "HOME": self.folder, "LANG": "C.UTF-8", "XDG_RUNTIME_DIR": self.folder,
                    "QT_QPA_PLATFORM": "xcb", "ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", ""),
                    "LSAN_OPTIONS": "suppressions=" + os.path.join(os.path.dirname(__file__), "qt-leaks.supp")}
        self.notifications, self.items = queue.Queue(), queue.Queue()
        with contextlib.ExitStack() as self.closers:  # what close does, in reverse order; done now if set-up fails
            self.closers.callback(shutil.rmtree, self.folder, ignore_errors=True)
            xvfb = self.start(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                               "-noreset"], stdout=subprocess.PIPE)  # a reset as the last client goes refuses the next
            self.env["DISPLAY"] = ":" + read_line(xvfb.stdout.fileno(), "Xvfb")
            self.start_bus([("org.freedesktop.Notifications", "/org/freedesktop/Notifications", NOTIFICATIONS)] +
                           ([("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", WATCHER)] if watcher else []))
            if tray:
                self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "100",
                            "--height", str(PANEL_HEIGHT)])
                wait_for(lambda: self.run("xdotool", "search", "--onlyvisible", "--class", "trayer"), "the panel")
            self.wine = Wine(self) if WINDOWS else None
            self.closers = self.closers.pop_all()
        self.close = self.closers.close

    def start(self, args, stdout=subprocess.DEVNULL):
        process = subprocess.Popen(args, env=self.env, stdout=stdout, stderr=subprocess.DEVNULL)
        self.closers.callback(stop, process)
        return process

    def start_bus(self, services):
        """dbus-daemon, and the services on a main loop of their own thread."""
        with open(os.path.join(self.folder, "bus.conf"), "w") as out:
            out.write(BUS_CONFIG.format(self.folder))
        daemon = self.start(["dbus-daemon", "--nofork", "--print-address", "--config-file=" + out.name],
                            stdout=subprocess.PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(daemon.stdout.fileno(), "dbus-daemon")
        loop = GLib.MainLoop(GLib.MainContext())
        loop.get_context().push_thread_default()  # calls of the services registered now are dispatched there
        flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
        self.host = Gio.DBusConnection.new_for_address_sync(self.env["DBUS_SESSION_BUS_ADDRESS"], flags, None, None)
        for name, path, xml in services:
            self.host.register_object(path, Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0], self.called,
                                      lambda *_: GLib.Variant("b", True), None)
            self.host.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                "RequestName", GLib.Variant("(su)", (name, 4)), None, 0, WAIT * 1000, None)
        loop.get_context().pop_thread_default()
        thread = threading.Thread(target=loop.run, daemon=True)
        thread.start()
        self.closers.callback(lambda: (loop.quit(), thread.join(WAIT)))

    def called(self, connection, sender, path, interface, method, arguments, invocation):
        values = arguments.unpack()
        if method == "Notify":
            self.notifications.put((values[3], values[4], values[2]))
            return invocation.return_value(GLib.Variant("(u)", (1,)))
        self.items.put(values[0])
        invocation.return_value(None)

    def item_call(self, item, method, interface=ITEM, arguments=GLib.Variant("(ii)", (0, 0))):
        """A call on a tray item as its host makes it: Activate or ContextMenu for a click, or Get."""
        return self.host.call_sync(item, "/StatusNotifierItem", interface, method, arguments, None, 0, WAIT * 1000,
                                   None).unpack()

    def item_property(self, item, name):
        return self.item_call(item, "Get", "org.freedesktop.DBus.Properties", GLib.Variant("(ss)", (ITEM, name)))[0]

    def run(self, *command):
        """Output of an X client; empty when it fails or finds nothing."""
        done = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=WAIT)
        return done.stdout if done.returncode == 0 else ""

    def pixels(self, window):
        _, x, y, width, height = window
        ppm = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8",
                              "ppm:-"], env=self.env, capture_output=True, timeout=WAIT, check=True).stdout
        data = ppm.split(b"\n", 3)[3]
        return [tuple(data[i:i + 3]) for i in range(0, len(data) - 2, 3)]


class FtpServer(contextlib.AbstractContextManager):
    """pyftpdlib on 127.0.0.1:21 serving the installer from a new folder anonymously, at a limited rate
    if asked; commands holds every command line it received."""

    def __init__(self, rate=None):
        from pyftpdlib.authorizers import DummyAuthorizer
        from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
        from pyftpdlib.servers import FTPServer
        logging.basicConfig(level=logging.WARNING)  # before pyftpdlib sets up its own, chatty logging
        self.root = tempfile.mkdtemp(prefix="ftp-root-")
        os.mkdir(os.path.join(self.root, "pub"))
        self.installer, self.commands = os.path.join(self.root, "pub", INSTALLER[0]), []

        def pre_process_command(handler, line, *rest):
            self.commands.append(line)
            return FTPHandler.pre_process_command(handler, line, *rest)

        handler = type("Handler", (FTPHandler,), {"authorizer": DummyAuthorizer(),
                                                  "pre_process_command": pre_process_command})
        handler.authorizer.add_anonymous(self.root)
        if rate:
            handler.dtp_handler = type("Throttled", (ThrottledDTPHandler,), {"read_limit": rate, "write_limit": rate})
        self.server = FTPServer(("127.0.0.1", 21), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, kwargs={"timeout": 0.05}, daemon=True)
        self.thread.start()

    def publish(self, size, key=None):
        """Serves the installer filled up with random bytes to exactly size, and signed with the private
        key in the file key as a publisher signs it, into the installer's name plus .sig."""
        content = INSTALLER[1] + os.urandom(size - len(INSTALLER[1]))
        pathlib.Path(self.installer).write_bytes(content)
        if key:
            subprocess.run(["openssl", "dgst", "-sha256", "-sign", key, "-out", self.installer + ".sig",
                            self.installer], check=True, timeout=WAIT)
        return content

    def __exit__(self, *exc):
        self.server.close_all()
        self.thread.join(WAIT)
        shutil.rmtree(self.root, ignore_errors=True)


class Wine:
    """A Wine prefix of the desktop's own (32-bit for a 32-bit program), its server kept running until the desktop
    closes, with a temporary folder whose name is not ASCII. Every Wine program of the desktop runs with the
    desktop's environment: Wine places its server by TMPDIR."""

    def __init__(self, desktop):
        desktop.env.update(WINEPREFIX=os.path.join(desktop.folder, "wine"), WINEDEBUG="-all",
                           WINEARCH="win32" if EMULATED else "win64",
                           WINEDLLOVERRIDES="mscoree,mshtml=")  # no offer to install .NET or a browser engine
        boot, quiet = [WINE, "wineboot", "--init"], dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The prefix is made under a server that ends with it: Wine's loader waits five minutes for a new prefix,
        # too few under emulation, and the boot goes on without it.
        subprocess.run(boot, env=desktop.env, timeout=1800, **quiet)
        subprocess.run([WINESERVER, "--wait"], env=desktop.env, timeout=1800)
        users = os.path.join(desktop.env["WINEPREFIX"], "drive_c", "users")
        user = next(name for name in os.listdir(users) if name != "Public")
        self.temp = os.path.join(users, user, "Temp", "J\u00fcrgen")  # C:\users\<user>\Temp\Jürgen\
        self.windows_temp = f"C:\\users\\{user}\\Temp\\J\u00fcrgen"
        os.makedirs(self.temp)
        # The user's TEMP and TMP, written into the registry's file while no server holds it.
        registry = pathlib.Path(desktop.env["WINEPREFIX"], "user.reg")
        value = self.windows_temp.replace("\\", "\\\\").replace("\u00fc", "\\xfc")
        text, found = re.subn(r'^"(TEMP|TMP)"=.*$', lambda m: f'"{m[1]}"="{value}"', registry.read_text(), flags=re.M)
        assert found == 2, "TEMP and TMP in " + str(registry)
        registry.write_text(text)
        server = desktop.start([WINESERVER, "--foreground", "--persistent"])
        desktop.closers.callback(lambda: (subprocess.run([WINESERVER, "-k"], env=desktop.env), server.wait(WAIT)))
        subprocess.run(boot, env=desktop.env, check=True, timeout=1800, **quiet)  # the session's start, once


class Updater(contextlib.AbstractContextManager):
    """One run of the program from a folder of its own, with update.cfg unless product is None, update.pem when
    key gives its bytes, and a temporary folder of its own unless temp names one (under Wine, Wine's own)."""

    def __init__(self, desktop, *arguments, product="Demo App", temp=None, key=None):
        self.desktop, self.wine = desktop, desktop.wine
        self.folder = tempfile.mkdtemp(prefix="updater-run-", dir=desktop.folder)
        self.temp = self.wine.temp if self.wine else temp or os.path.join(self.folder, "tmp")
        os.makedirs(self.temp, exist_ok=True)
        if self.wine:  # Wine's temporary folder is shared by the desktop's runs: emptied of the installer's files
            for name in (INSTALLER[0], INSTALLER[0] + ".ran"):
                pathlib.Path(self.temp, name).unlink(missing_ok=True)
        shutil.copy(UPDATER, self.folder)
        if product is not None:
            pathlib.Path(self.folder, "update.cfg").write_bytes(product.encode() + b"\r\n")
        if key is not None:
            pathlib.Path(self.folder, "update.pem").write_bytes(key)
        program = [WINE] * bool(self.wine) + [os.path.join(self.folder, os.path.basename(UPDATER))]
        self.process = subprocess.Popen(program + list(map(str, arguments)),
                                        env=desktop.env if self.wine else dict(desktop.env, TMPDIR=self.temp),
                                        cwd=self.folder, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def __exit__(self, *exc):
        stop(self.process)

    def ended(self):
        """Waits for the end; a run that ends other than normally fails with its output."""
        if self.process.wait(WAIT) != 0:
            raise AssertionError(f"ended with {self.process.returncode}:\n{self.process.stdout.read().decode()}")
        return True

    def file(self, name):
        """A file of the temporary folder; empty if there is none."""
        return read(pathlib.Path(self.temp, name))

    def log(self):
        return read(pathlib.Path(self.folder, "orlenza.err")).decode(LOG_ENCODING)

    def windows(self, *criteria, owner=None):
        """(id, x, y, width, height) of the program's viewable windows, or of owner's (xdotool criteria)."""
        found = []
        for window in self.desktop.run("xdotool", "search", "--onlyvisible",
                                       *(owner or ["--pid", str(self.process.pid)]), *criteria).split():
            shell = dict(line.split("=") for line in self.desktop.run("xdotool", "getwindowgeometry", "--shell",
                                                                      window).split())
            found += [(window, *(int(shell[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")))] if shell else []
        return found

    def icon(self):
        """The icon's place in the panel; Wine's shell, explorer.exe, holds the icons of Windows programs."""
        owner = ["--class", "explorer.exe"] if self.wine else None
        return wait_for(lambda: [w for w in self.windows(owner=owner) if w[2] < PANEL_HEIGHT and w[3] <= PANEL_HEIGHT],
                        "the tray icon")[0]

    def key(self, window, *keys):
        """Keys as the keyboard sends them; with no window manager the window takes the focus first."""
        self.desktop.run("xdotool", "windowfocus", window, "key", "--delay", "100", *keys)

    def click_icon(self, *action):
        _, x, y, width, height = self.icon()
        self.desktop.run("xdotool", "mousemove", str(x + width // 2), str(y + height // 3), *action)

    def choose(self, *keys):
        """Opens the icon's menu and picks an item with keys and Return (Down: first enabled, Up: last)."""
        self.click_icon("click", "3")
        self.key(self.menu(), *keys, "Return")

    def menu(self):
        return wait_for(lambda: [w for w in self.windows() if w[4] > 50], "the popup menu")[0][0]

    def answer(self, key):
        """Answers the message box with key and returns its text, read from its window by a Windows program, or as a
        person copies it: drag-selected from a few places (the icon moves its start); the longest selection wins."""
        window, x, y, width, height = wait_for(lambda: [w for w in self.windows("--name", "^Updater$")
                                                        if w[3] > 64], "a message box")[0]
        texts = [self.desktop.run(WINE, BOX_READER)] if self.wine else [""]
        for start in () if self.wine else range(x + 2, x + 90, 6):
            self.desktop.run("xdotool", "mousemove", str(start), str(y + 16), "mousedown", "1",
                             "mousemove", str(x + width - 2), str(y + height - 2), "mouseup", "1")
            texts.append(self.desktop.run("xclip", "-selection", "primary", "-o"))
        self.key(window, key)
        return max(texts, key=len).replace("\r", "").strip()
