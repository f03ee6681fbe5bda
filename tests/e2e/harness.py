"""Runs the real updater as a host application does and drives it as a person would.

Each test script calls enter_private_network() first: as root it re-runs itself in a private network
namespace, where the FTP server can listen on port 21 without touching the machine's network. A
Desktop is an Xvfb server with the trayer panel as tray host; an FtpServer is pyftpdlib on
127.0.0.1:21; an Updater is one run of the program from a folder of its own, with update.cfg beside it,
its own temporary folder and the error log read back from that folder.
"""

import logging
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = 30.0  # seconds any single wait may take


def enter_private_network():
    """Re-executes this script under `unshare -n` unless it already runs in the namespace it made."""
    if os.environ.get("UPDATER_E2E_NETNS") != "1":
        if os.geteuid() != 0:
            sys.exit("the end-to-end tests need root for a private network namespace")
        os.environ["UPDATER_E2E_NETNS"] = "1"
        os.execvp("unshare", ["unshare", "-n", sys.executable] + sys.argv)
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)


def wait_for(condition, what, timeout=DEADLINE, interval=0.05):
    """Polls condition until it returns something true; fails the test after timeout seconds."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def _stop(process):
    if process and process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Desktop:
    """An X server with a tray host, and the tools to look at it and act on it."""

    def __init__(self, tray=True):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.runtime = tempfile.mkdtemp(prefix="xdg-runtime-")
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": ":" + number.decode().strip(),
                    "HOME": os.environ.get("HOME", "/root"), "LANG": "C.UTF-8", "XDG_RUNTIME_DIR": self.runtime}
        self.trayer = None
        if tray:
            self.trayer = subprocess.Popen(
                ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "100",
                 "--height", "24"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: self.windows("--class", "trayer"), "the tray panel")

    def close(self):
        _stop(self.trayer)
        _stop(self.xvfb)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def run(self, *command, check=True):
        done = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=DEADLINE)
        if check and done.returncode != 0:
            raise AssertionError(f"{command} failed: {done.stderr}")
        return done.stdout

    def windows(self, *criteria):
        done = subprocess.run(["xdotool", "search", "--onlyvisible", *criteria], env=self.env,
                              capture_output=True, text=True, timeout=DEADLINE)
        return [w for w in done.stdout.split()]

    def geometry(self, window):
        values = dict(line.split("=", 1) for line in self.run("xdotool", "getwindowgeometry", "--shell",
                                                                window).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def name(self, window):
        return self.run("xdotool", "getwindowname", window, check=False).strip()

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", str(x), str(y))
        self.run("xdotool", "click", str(button))

    def key(self, window, key):
        """Presses key in window as the keyboard would; with no window manager it takes focus first."""
        self.run("xdotool", "windowfocus", window)
        self.run("xdotool", "key", key)

    def screenshot(self, path):
        self.run("import", "-window", "root", path)


class FtpServer:
    """pyftpdlib on 127.0.0.1:21 serving a folder anonymously, optionally at a limited rate."""

    def __init__(self, root, rate=None):
        from pyftpdlib.authorizers import DummyAuthorizer
        from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
        from pyftpdlib.servers import FTPServer
        logging.basicConfig(level=logging.CRITICAL)
        authorizer = DummyAuthorizer()
        authorizer.add_anonymous(root)
        handler = type("Handler", (FTPHandler,), {"authorizer": authorizer})
        if rate:
            handler.dtp_handler = type("Throttled", (ThrottledDTPHandler,), {"read_limit": rate, "write_limit": rate})
        self.server = FTPServer(("127.0.0.1", 21), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, kwargs={"timeout": 0.05}, daemon=True)
        self.thread.start()

    def close(self):
        self.server.close_all()
        self.thread.join(5)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def installer(size, marker_note=""):
    """A harmless installer of exactly size bytes: a script that records where it ran, then pads."""
    head = ("#!/bin/sh\n# Demo installer. " + marker_note + "\npwd > \"$0.ran\"\nexit 0\n").encode()
    if size < len(head):
        raise ValueError("installer too small")
    padding = bytearray(os.urandom(size - len(head)))
    return head + bytes(padding)


class Updater:
    """One run of the program from a folder of its own; product None leaves update.cfg out."""

    def __init__(self, desktop, executable, arguments, product="Demo App"):
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="updater-run-")
        self.temp = os.path.join(self.folder, "tmp")
        os.mkdir(self.temp)
        self.exe = os.path.join(self.folder, "updater")
        shutil.copy(executable, self.exe)
        if product is not None:
            with open(os.path.join(self.folder, "update.cfg"), "wb") as cfg:
                cfg.write(product.encode() + b"\r\n")
        env = dict(desktop.env, TMPDIR=self.temp)
        env["ASAN_OPTIONS"] = "detect_leaks=0:abort_on_error=1"
        self.process = subprocess.Popen([self.exe, *arguments], env=env, cwd=self.folder,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.pid = str(self.process.pid)

    def close(self):
        _stop(self.process)
        if self.process.stdout:
            self.process.stdout.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def wait_exit(self, timeout=DEADLINE):
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the updater did not end")
        output = self.process.stdout.read().decode(errors="replace")
        if "Sanitizer" in output or "runtime error:" in output:
            raise AssertionError("sanitizer report:\n" + output)
        return self.process.returncode

    def running(self):
        return self.process.poll() is None

    def log(self):
        path = os.path.join(self.folder, "orlenza.err")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("utf-8", errors="replace")

    def local_file(self, name):
        with open(os.path.join(self.temp, name), "rb") as f:
            return f.read()

    def icon(self):
        """The tray icon: the program's visible window inside the panel."""
        def find():
            for window in self.desktop.windows("--pid", self.pid):
                x, y, w, h = self.desktop.geometry(window)
                if w <= 64 and h <= 64 and y < 30:
                    return window
            return None
        return wait_for(find, "the tray icon")

    def click_icon(self, button=1):
        x, y, w, h = self.desktop.geometry(self.icon())
        self.desktop.click(x + w // 2, y + h // 3, button)

    def open_menu(self):
        """Right-clicks the icon and waits for the popup menu (taller than any tooltip)."""
        icon = self.icon()
        self.click_icon(3)

        def find():
            for window in self.desktop.windows("--pid", self.pid):
                if window != icon and self.desktop.geometry(window)[3] > 50:
                    return window
            return None
        return wait_for(find, "the popup menu")

    def choose(self, *keys):
        """Opens the popup menu and picks an item with the keyboard (Down: first enabled, Up: last)."""
        self.open_menu()
        time.sleep(0.3)  # let the menu take the keyboard before the keys arrive
        self.desktop.run("xdotool", "key", "--delay", "100", *keys, "Return")

    def message_box(self):
        """The program's message box once it is on screen."""
        def find():
            for window in self.desktop.windows("--pid", self.pid, "--name", "^Updater$"):
                x, y, w, h = self.desktop.geometry(window)
                if w > 64:
                    return window
            return None
        return wait_for(find, "a message box")

    def box_text(self, box):
        """The text of a message box, read as a person copies it: drag-select it, then read the selection.

        The label's left edge depends on the box's icon, so the drag starts at a few places left of the
        text and the longest selection wins.
        """
        x, y, w, h = self.desktop.geometry(box)
        best = ""
        for start_x in range(x + 2, x + 90, 4):
            self.desktop.run("xdotool", "mousemove", str(start_x), str(y + 16), "mousedown", "1",
                             "mousemove", str(x + w - 2), str(y + h - 2), "mouseup", "1")
            text = self.desktop.run("xclip", "-selection", "primary", "-o", check=False)
            if len(text) > len(best):
                best = text
        return best
