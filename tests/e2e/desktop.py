"""A throw-away desktop for running the real updater as a person meets it, and FTP and web servers for it.
Every process started here is ended here; every wait is bounded."""

import contextlib
import http.server
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
# The web servers' names, all on 127.0.0.1: the updates' server and its mirror have good certificates, the
# others one that has expired and one from an authority nobody trusts; localhost has updates.test's.
NAMES = ("updates.test", "mirror.test", "expired.test", "untrusted.test")
NGINX = """daemon off; master_process off; error_log {0}/nginx.log; pid {0}/nginx.pid;
events {{}}
http {{
  access_log off; types {{}} default_type application/octet-stream; absolute_redirect off;
  client_body_temp_path {0}; proxy_temp_path {0}; fastcgi_temp_path {0}; uwsgi_temp_path {0}; scgi_temp_path {0};
  server {{
    listen 127.0.0.1:443 ssl default_server; listen 127.0.0.1:80; root {1};
    ssl_certificate {0}/updates.pem; ssl_certificate_key {0}/key.pem;
    location /slow/ {{ alias {1}/pub/; limit_rate 32k; }}
    location = /to-http {{ return 301 http://updates.test/pub/{2}; }}
    location = /to-ftp {{ return 302 ftp://updates.test/pub/{2}; }}
    location = /r/1 {{ return 302 /r/2; }}
    location = /r/2 {{ return 302 3; }}
    location = /r/3 {{ return 307 https://mirror.test/r/4; }}
    location = /r/4 {{ return 308 //updates.test/r/5; }}
    location = /r/5 {{ return 303 ../r/6?from=5; }}
    location = /r/6 {{ return 301 /pub/{2}; }}
  }}
  server {{ listen 127.0.0.1:443 ssl; server_name expired.test; root {1};
           ssl_certificate {0}/expired.pem; ssl_certificate_key {0}/key.pem; }}
  server {{ listen 127.0.0.1:443 ssl; server_name untrusted.test; root {1};
           ssl_certificate {0}/untrusted.pem; ssl_certificate_key {0}/key.pem; }}
}}
"""
TINYPROXY = "Port 8888\nListen 127.0.0.1\nAllow 127.0.0.1\nConnectPort 443\nLogFile \"{0}/proxy.log\"\nLogLevel Connect\n"


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


def publish(root, size, key=None):
    """Serves the installer from root/pub filled up with random bytes to exactly size, and signed with the private
    key in the file key as a publisher signs it, into the installer's name plus .sig."""
    installer = os.path.join(root, "pub", INSTALLER[0])
    content = INSTALLER[1] + os.urandom(size - len(INSTALLER[1]))
    pathlib.Path(installer).write_bytes(content)
    if key:
        subprocess.run(["openssl", "dgst", "-sha256", "-sign", key, "-out", installer + ".sig", installer], check=True,
                       timeout=WAIT)
    return content


def trust_test_authority(folder):
    """Makes a certificate authority and the servers' certificates in folder, and has this mount namespace trust the
    authority the way a system trusts one (a bundle and a hashed folder over /etc/ssl/certs) and resolve NAMES to
    127.0.0.1 (its own /etc/hosts). Must come before a Wine server starts: Wine reads the roots once."""
    def openssl(*args, stdin=None):
        return subprocess.run(["openssl", *args], input=stdin, capture_output=True, check=True, timeout=WAIT).stdout

    key, ca, other = (os.path.join(folder, name) for name in ("key.pem", "ca", "other-ca"))
    for authority in (ca, other):  # each with a key of its own
        openssl("ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", authority + ".key")
        openssl("req", "-x509", "-key", authority + ".key", "-subj", "/CN=Test authority", "-days", "2", "-out",
                authority + ".pem", "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign")
    openssl("ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", key)
    for name, authority, days, alternatives in (("updates", ca, "2", "DNS:updates.test,DNS:mirror.test"),
                                                ("expired", ca, "-1", "DNS:expired.test"),
                                                ("untrusted", other, "2", "DNS:untrusted.test")):
        extensions = os.path.join(folder, name + ".ext")
        pathlib.Path(extensions).write_text(f"subjectAltName={alternatives}\nextendedKeyUsage=serverAuth\n")
        request = openssl("req", "-new", "-key", key, "-subj", "/CN=" + name)
        openssl("x509", "-req", "-CA", authority + ".pem", "-CAkey", authority + ".key", "-days", days, "-extfile",
                extensions, "-out", os.path.join(folder, name + ".pem"), stdin=request)
    certs = os.path.join(folder, "certs")
    os.mkdir(certs)
    shutil.copy(ca + ".pem", os.path.join(certs, "ca-certificates.crt"))
    shutil.copy(ca + ".pem", os.path.join(certs, "test-authority.pem"))
    openssl("rehash", certs)
    hosts = os.path.join(folder, "hosts")
    pathlib.Path(hosts).write_text("127.0.0.1 localhost " + " ".join(NAMES) + "\n")
    for source, target in ((certs, "/etc/ssl/certs"), (hosts, "/etc/hosts")):
        subprocess.run(["mount", "--bind", source, target], check=True)


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
        return publish(self.root, size, key)

    def __exit__(self, *exc):
        self.server.close_all()
        self.thread.join(WAIT)
        shutil.rmtree(self.root, ignore_errors=True)


class Misbehaving(http.server.BaseHTTPRequestHandler):
    """A web server's ways of going wrong, by the path's first part: a chunked body, a body longer than announced,
    one that ends early and then nothing more, one without end, a broken status line, a failure. The server's
    requests get each request's path and headers."""
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        self.server.requests.append((self.path, dict(self.headers)))
        kind, body = self.path.split("/")[1], pathlib.Path(self.server.installer).read_bytes()
        if kind == "broken":
            return self.wfile.write(b"HTTP/1.1 OK\r\n\r\n")
        self.send_response(500 if kind == "failing" else 200)
        if kind == "chunked":
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for at in range(0, len(body), 4000):
                self.wfile.write(b"%x\r\n%s\r\n" % (len(body[at:at + 4000]), body[at:at + 4000]))
            return self.wfile.write(b"0\r\n\r\n")
        self.send_header(*(("Connection", "close") if kind == "endless" else ("Content-Length", str(len(body)))))
        self.end_headers()
        self.wfile.write({"longer": body + b"more", "stalling": body[:len(body) // 2]}.get(kind, body))
        while kind in ("stalling", "endless") and not self.server.closing.wait(0.01 if kind == "endless" else 1):
            self.wfile.write(os.urandom(1024) * (kind == "endless"))

    def handle(self):
        with contextlib.suppress(ConnectionError):  # the updater hangs up on a body it does not want
            super().handle()

    def log_message(self, *_):
        pass


class WebServers(contextlib.AbstractContextManager):
    """nginx for NAMES over HTTPS and updates.test over HTTP, with redirect chains (/r/1 ... /r/6) and a slow path,
    the Misbehaving server on updates.test:8080 and tinyproxy on 127.0.0.1:8888 (proxy() is what it logged), in
    folder, where trust_test_authority made the certificates; the files come from root (a new folder if none)."""

    def __init__(self, folder, root=None):
        self.folder, self.root = folder, root or tempfile.mkdtemp(prefix="web-root-", dir=folder)
        os.makedirs(os.path.join(self.root, "pub"), exist_ok=True)
        with contextlib.ExitStack() as self.closers:
            config = os.path.join(folder, "nginx.conf")
            pathlib.Path(config).write_text(NGINX.format(folder, self.root, INSTALLER[0]))
            self.start(["nginx", "-c", config])
            pathlib.Path(folder, "tinyproxy.conf").write_text(TINYPROXY.format(folder))
            self.start(["tinyproxy", "-d", "-c", os.path.join(folder, "tinyproxy.conf")])
            self.scripted = http.server.ThreadingHTTPServer(("127.0.0.1", 8080), Misbehaving)
            self.scripted.installer = os.path.join(self.root, "pub", INSTALLER[0])
            self.scripted.requests, self.scripted.closing = [], threading.Event()
            thread = threading.Thread(target=self.scripted.serve_forever, kwargs={"poll_interval": 0.05}, daemon=True)
            thread.start()
            self.closers.callback(lambda: (self.scripted.closing.set(), self.scripted.shutdown(), thread.join(WAIT),
                                           self.scripted.server_close()))
            for port in (443, 80, 8888):
                wait_for(lambda: subprocess.run(["bash", "-c", f"exec 3<>/dev/tcp/127.0.0.1/{port}"],
                                                stderr=subprocess.DEVNULL).returncode == 0, f"a server on port {port}")
            self.closers = self.closers.pop_all()
        self.close = self.closers.close

    def start(self, args):
        process = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.closers.callback(stop, process)

    def publish(self, size, key=None):
        return publish(self.root, size, key)

    def proxy(self):
        return read(pathlib.Path(self.folder, "proxy.log")).decode()

    def __exit__(self, *exc):
        self.close()


class Wine:
    """A Wine prefix of the desktop's own (32-bit for a 32-bit program), its server kept running until the desktop
    closes, with a temporary folder whose name is not ASCII. Every Wine program of the desktop runs with the
    desktop's environment: Wine places its server by TMPDIR."""

    def __init__(self, desktop):
        desktop.env.update(WINEPREFIX=os.path.join(desktop.folder, "wine"), WINEDEBUG="-all",
                           WINEARCH="win32" if EMULATED else "win64",
                           WINEDLLOVERRIDES="mscoree,mshtml=")  # no offer to install .NET or a browser engine
        boot, quiet = [WINE, "wineboot", "--init"], dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The prefix is made by a boot of its own, waited for by the message that ends it: Wine's loader waits only
        # five minutes for a new prefix, too few under emulation. Its server is then ended, which writes the registry
        # out and ends the boot's services, some of which never end by themselves under emulation.
        made = pathlib.Path(desktop.folder, "wine-made.log")
        with made.open("wb") as log:
            subprocess.run(boot, env=desktop.env, timeout=1800, stdout=log, stderr=log)
        wait_for(lambda: b"has been updated" in read(made), "the new Wine prefix", timeout=1800)
        subprocess.run([WINESERVER, "-k"], env=desktop.env, timeout=WAIT)
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
    key gives its bytes, and a temporary folder of its own unless temp names one (under Wine, Wine's own); env
    adds to the desktop's environment."""

    def __init__(self, desktop, *arguments, product="Demo App", temp=None, key=None, env=None):
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
                                        env=dict(desktop.env, **({} if self.wine else {"TMPDIR": self.temp}), **(env or {})),
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
        person copies it: drag-selected from a few places (the icon moves its start), from the left and, for text read
        right to left, from the right; the longest selection wins."""
        window, x, y, width, height = wait_for(lambda: [w for w in self.windows("--name", "^Updater$")
                                                        if w[3] > 64], "a message box")[0]
        texts = [self.desktop.run(WINE, BOX_READER)] if self.wine else [""]
        drags = [(x + d, x + width - 2) for d in range(2, 90, 6)] + [(x + width - d, x + 2) for d in range(2, 40, 2)]
        for start, end in [] if self.wine else drags:
            self.desktop.run("xdotool", "mousemove", str(start), str(y + 16), "mousedown", "1",
                             "mousemove", str(end), str(y + height - 2), "mouseup", "1")
            texts.append(self.desktop.run("xclip", "-selection", "primary", "-o"))
        self.key(window, key)
        return max(texts, key=len).replace("\r", "").strip()
